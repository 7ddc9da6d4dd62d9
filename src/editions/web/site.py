#!/usr/bin/python3
"""Makes the browser edition's site from the build's files, every file named by its content
(name.HASH.ext), so that browsers and caches may keep it forever and a new release never mixes
with an old one. Only three names stay: index.html (the address people open), sw.js (the
service worker, which browsers look up by name to find a new release) and the folder itself.

References are rewritten as the names change: index.html's href and src attributes, the ES
modules' imports, the web app manifest's icons. site.js, an ES module written here, gives the
page the names of everything else it fetches (FILES), the version (VERSION) and the name of
the store that keeps the pictures the page makes (PICTURES: the version and a digest of the
picture generator, its code and fonts); sw.js gets the release's name (the version and a digest
of the whole site), every file to keep for offline play and the pictures' store, in place of its
line `const RELEASE = null;`.

Usage: site.py OUT VERSION BUILD NAME...   (each NAME a file under BUILD, "Data/x.mp3" too)"""
import hashlib
import json
import os
import re
import shutil
import sys

KEPT = {"index.html", "sw.js"}
GENERATOR = re.compile(r"^(art\.(js|wasm)|fonts/.*)$")  # what the pictures are made of
IMPORT = re.compile(r"""((?:from|import)\s+)(['"])\./([\w./-]+)\2""")
ATTRIBUTE = re.compile(r'\b(href|src)="([^"?#]+)"')


def digest(data):
    return hashlib.sha256(data).hexdigest()[:10]


def hashed(name, data):
    folder, base = os.path.split(name)
    stem, dot, ext = base.partition(".")
    return os.path.join(folder, f"{stem}.{digest(data)}{dot}{ext}")


def imports(text):
    return [m.group(3) for m in IMPORT.finditer(text)]


def make(out, version, build, names):
    names = list(dict.fromkeys(names))
    read = {name: open(os.path.join(build, name), "rb").read() for name in names}
    renamed = {}  # logical name -> name on the site
    if os.path.isdir(out):
        shutil.rmtree(out)

    def put(name, data):
        path = os.path.join(out, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)

    def rename(name, data):
        renamed[name] = hashed(name, data)
        put(renamed[name], data)

    def rewrite_imports(name, text):
        def replace(m):
            if m.group(3) not in renamed:
                sys.exit(f"site.py: {name} imports {m.group(3)}, which is not on the site")
            return f"{m.group(1)}{m.group(2)}./{renamed[m.group(3)]}{m.group(2)}"
        return IMPORT.sub(replace, text)

    modules = [n for n in names if n.endswith(".js") and imports(read[n].decode())]
    manifests = [n for n in names if n.endswith(".webmanifest")]
    # Files that name no other: as they are.
    for name in names:
        if name not in KEPT and name not in modules and name not in manifests:
            rename(name, read[name])
    for name in manifests:
        manifest = json.loads(read[name])
        for icon in manifest.get("icons", []):
            icon["src"] = renamed[icon["src"]]
        rename(name, (json.dumps(manifest, indent=1, sort_keys=True) + "\n").encode())

    # What the page fetches by name, the version, and where the pictures are kept.
    files = {n: renamed[n] for n in sorted(renamed) if n not in modules}
    generator = b"".join(read[n] for n in sorted(names) if GENERATOR.match(n))
    pictures = f"kelvorin-pictures-{version}-{digest(generator)}"
    site = (f"// Written by site.py: the version, the names of the site's files by their content, and\n"
            f"// the store of the pictures that the page makes, named by the generator's content.\n"
            f"export const VERSION = {json.dumps(version)};\n"
            f"export const PICTURES = {json.dumps(pictures)};\n"
            f"export const FILES = {json.dumps(files, indent=1, sort_keys=True)};\n")
    rename("site.js", site.encode())
    read["site.js"] = site.encode()

    # The modules after the ones they import.
    done = set()

    def module(name, path=()):
        if name in done:
            return
        if name in path:
            sys.exit(f"site.py: the modules import each other in a circle: {' -> '.join(path + (name,))}")
        text = read[name].decode()
        for dependency in imports(text):
            if dependency in modules:
                module(dependency, path + (name,))
        rename(name, rewrite_imports(name, text).encode())
        done.add(name)

    for name in modules:
        module(name)

    if "index.html" in names:
        def attribute(m):
            target = renamed.get(m.group(2))
            return f'{m.group(1)}="{target}"' if target else m.group(0)
        put("index.html", ATTRIBUTE.sub(attribute, read["index.html"].decode()).encode())
    if "sw.js" in names:
        # The release: its version and what its files are, so that any change makes a new one.
        kept = ["./", "index.html"] + sorted(renamed.values())
        release = f"{version}-{digest(json.dumps(kept).encode() + read.get('index.html', b''))}"
        line = f"const RELEASE = {json.dumps({'name': release, 'files': kept, 'pictures': pictures})};"
        text = read["sw.js"].decode()
        if "const RELEASE = null;" not in text:
            sys.exit("site.py: sw.js has no line const RELEASE = null;")
        put("sw.js", text.replace("const RELEASE = null;", line, 1).encode())


if __name__ == "__main__":
    if len(sys.argv) < 5:
        sys.exit(__doc__.split("\n\n")[-1])
    make(sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:])
