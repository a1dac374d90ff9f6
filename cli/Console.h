#pragma once
// The tools' console, the same on every system: the command line as UTF-8,
// output bytes exactly as written (no CR added before LF) and shown as
// UTF-8, and whether standard error is a console a progress bar can use.
// On Windows the command line comes from its wide form and the console's
// output code page is set to UTF-8, so Chinese shows whatever the system's
// code page; elsewhere nothing needs doing.

namespace zelmar {

// First thing in main. May replace argv with UTF-8 copies that live until
// the program ends.
void PrepareConsole(int& argc, char**& argv);

// Standard error is a console (a terminal), not a file or a pipe.
bool StderrIsConsole();

} // namespace zelmar
