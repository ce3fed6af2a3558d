#pragma once
// The trace items of a category computed without the forms: by the least platform work
// that yields them (one listing per location, the lock test's open where the category has
// that filter, one enumeration and one value read per name), or by the literal call
// sequence (a fresh search per file for the existence test and again for the size).
#include <string>
#include <vector>

#include "traces/trace_item.h"

namespace zarn::bench {

enum class Sequence { Floor, Literal };

// Every category caption, in the order the program creates their forms.
const std::vector<std::string>& Captions();

// The items the category's scan lists, in order. The clipboard's items are left out: they
// depend on what another program put there. A caption without a reference lists nothing.
std::vector<TraceItem> Reference(const std::string& caption, Sequence sequence);

}  // namespace zarn::bench
