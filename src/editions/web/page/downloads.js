// The page's downloads: each failure says which file and what the server answered.
export class DownloadError extends Error {
  constructor(message, status) {
    super(message);
    this.status = status;
  }
}

export async function download(url) {
  let response;
  try {
    response = await fetch(url);
  } catch (e) {
    throw new DownloadError(`Could not download ${url}: the server did not answer.`, 'no answer');
  }
  if (!response.ok) {
    const status = `${response.status} ${response.statusText}`;
    throw new DownloadError(`Could not download ${url} (${status}).`, status);
  }
  return new Uint8Array(await response.arrayBuffer());
}

export async function downloadJSON(url) {
  return JSON.parse(new TextDecoder().decode(await download(url)));
}

export function loadScript(url) {
  return new Promise((resolve, reject) => {
    const script = document.createElement('script');
    script.src = url;
    script.onload = resolve;
    script.onerror = () => reject(new DownloadError(`Could not download ${url}.`));
    document.head.appendChild(script);
  });
}
