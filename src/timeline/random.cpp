#include "timeline/random.h"

namespace kelvorin {

uint32_t randState = 1;

int rand() {
    randState = randState * 214013u + 2531011u;
    return (int)((randState >> 16) & 0x7FFF);
}

Point tab0s5[POOL_A];
float tab1s5[POOL_A];
Point tab0s6[POOL_B];
float tab1s6[POOL_B];
Point tab0s7[POOL_C];
float tab1s7[POOL_C];
bool tab2s7[POOL_C];
float tab3s7[POOL_C];

// Every formula is computed in double from the integer draw and stored as a float; the order of
// the draws matters, since every pool comes from the one sequence.
void FillRandomPools() {
    for (int i = 0; i < POOL_A; i++) {
        int a = rand(), b = rand(), c = rand();
        while (c < 8192) c = rand();
        tab0s5[i] = Point{(float)(a / 32768.0 - 0.5), (float)(b / 32768.0 - 0.5), 6.0f};
        tab1s5[i] = (float)(c / 3000000.0);
    }
    for (int i = 0; i < POOL_B; i++) {
        int a = rand(), b = rand(), c = rand(), d = rand();
        while (d < 5000) d = rand();
        tab0s6[i] =
            Point{(float)(a / 3276.8 - 5.0), (float)(b / 3276.8 - 5.0), (float)(c / 585.0 - 50.0)};
        tab1s6[i] = (float)(d / 3276800.0);
    }
    for (int i = 0; i < POOL_C; i++) {
        int a = rand(), b = rand();
        rand();  // the third draw is not used, but it is drawn all the same
        int d = rand();
        while (d < 5000) d = rand();
        tab0s7[i] = Point{(float)(a / 819.2 - 20.0), 20.0f, (float)(b / 819.2 - 20.0)};
        tab1s7[i] = (float)(d / 3276800.0);
        tab2s7[i] = false;
        tab3s7[i] = 0.0f;
    }
}

}  // namespace kelvorin
