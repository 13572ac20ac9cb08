// The cost of each progress-window call under Wine, per call: what the copy step's window share
// is made of.
#pragma once

namespace bench {

bool RunProgressCallsBench(int calls);

}  // namespace bench
