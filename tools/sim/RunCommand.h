#pragma once
// zelmar-sim run: parses its options, plays the rounds and prints what
// happened. Returns the exit status: 0 done, 2 bad input, 130 stopped by
// Ctrl-C (the figures of the finished rounds are printed all the same).

namespace zelmar {

int runCommand(int argc, char** argv, const char* program);

} // namespace zelmar
