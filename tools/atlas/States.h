// The screen states the sources define, found by reading them: a state is
// a handler definition `SM_State NAME(SM_Hsm*, const SM_Event*)` in any
// .cpp below the screens folder, or an entry X(NAME, SUPER) of a list macro
// `#define ..._STATES(X)` (the placeholders). Helpers that take more than
// the two parameters are no states; nor is a definition inside a macro.
#pragma once

#include <string>
#include <vector>

namespace atlas {

struct DefinedState {
    std::string name;
    std::string file;
    int line;
};

// States defined in one source text.
std::vector<DefinedState> FindStates(const std::string& file, const std::string& text);
// States defined in every .cpp and .h below `folder`, sorted by name; false
// with a message when the folder cannot be read.
bool DiscoverStates(const std::string& folder, std::vector<DefinedState>& states, std::string& error);

} // namespace atlas
