#include "traces/text_list.h"

namespace zarn {

void TextList::Add(std::string_view text) {
  Entry e;
  e.stored.reserve(text.size() + 1);
  e.stored.push_back(' ');
  e.stored.append(text);
  entries_.push_back(std::move(e));
}

void TextList::Add(std::string_view text, const FileFacts& facts) {
  Add(text);
  entries_.back().facts = facts;
  entries_.back().hasFacts = true;
}

}  // namespace zarn
