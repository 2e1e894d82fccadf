// The timing loop of the benchmark (and of corvane-cli's speed check): a counting loop of loads,
// adds, stores, increments and a decrement-and-skip that never halts. Run it with an
// instruction limit.
#pragma once
#include "MachineTypes.h"

constexpr int LoopProgramAddress = 0100;
constexpr TWord LoopProgram[] = {
    020120,   // 000100  LDA 0,120   load the running sum
    0123000,  // 000101  ADD 1,0     add the counter
    040120,   // 000102  STA 0,120   store the sum
    0125400,  // 000103  INC 1,1     count up
    014121,   // 000104  DSZ 121     count the passes down
    000100,   // 000105  JMP 100     loop
    000100,   // 000106  JMP 100     (after DSZ reached zero) loop on
};
