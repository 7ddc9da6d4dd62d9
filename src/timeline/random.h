// The program's one random sequence and the particle pools drawn from it.
#pragma once
#include "draw/point.h"

namespace kelvorin {

// 15-bit linear congruential generator, seeded once with 1: 41, 18467, 6334, ...
int rand();
// The generator's state, for tests that count draws.
extern uint32_t randState;

enum { POOL_A = 50, POOL_B = 100, POOL_C = 500 };
extern Point tab0s5[POOL_A];  // light sprites of the tunnel: positions
extern float tab1s5[POOL_A];  // and speeds, units per ms
extern Point tab0s6[POOL_B];  // filled, read by no scene
extern float tab1s6[POOL_B];
extern Point tab0s7[POOL_C];  // petals of the finale: positions
extern float tab1s7[POOL_C];  // fall speeds, units per ms
extern bool tab2s7[POOL_C];   // landed flags
extern float tab3s7[POOL_C];  // swirl angles, degrees

// Overwrites every entry of the three pools, in draw order A, B, C.
void FillRandomPools();

}  // namespace kelvorin
