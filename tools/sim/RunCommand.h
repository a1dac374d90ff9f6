#pragma once
// zelmar-sim run: parses its options, plays the rounds and prints what
// happened. Returns the exit status: 0 done, 1 a write failed, 2 bad input,
// 130 stopped by Ctrl-C (the figures of the finished rounds are printed all
// the same).

namespace zelmar {

// With `compare`, zelmar-sim compare: the same options, two rule folders.
int runCommand(int argc, char** argv, const char* program, bool compare = false);

} // namespace zelmar
