// The demo's credits, as the cube fan's picture shows them (countdown.cpp): a role and a name a
// line, then the production. kelvorin-gentextures --credits gives them to the browser's media
// controls.
#pragma once

namespace kelvorin::art {

struct Credit {
    const char *role;
    const char *name;
};
constexpr int NUM_CREDITS = 3;
const Credit CREDITS[NUM_CREDITS] = {
    {"CODE", "BRANNOK"}, {"GRAPHICS", "ILVA"}, {"MUSIC", "DESSEL"}};
const char *const PRODUCTION = "A KELVORIN PRODUCTION";

}  // namespace kelvorin::art
