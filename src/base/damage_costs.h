// The account of what each reported damage cost: the objects lost to it, by
// kind, and the sentence that says so ("bodies of 3 items lost").
// A plain value; not thread-safe (one reader thread adds to it).
#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/corruption_reporter.h"

namespace edb {

class DamageCosts {
 public:
  // Adds `object` to what `damage` cost; false when it was counted already.
  bool Add(std::string_view damage, Loss loss, std::string_view object);

  // How many distinct objects all damage cost.
  int64_t object_count() const { return object_count_; }
  // How many damaged objects cost something.
  size_t damage_count() const { return order_.size(); }

  // One line per damaged object that cost something, in the order they were
  // first costed: the damage's `where` and what it cost ("bodies of 3 items
  // lost; 1 attachment lost").
  std::vector<std::pair<std::string, std::string>> Lines() const;

 private:
  std::vector<std::string> order_;
  std::map<std::string, std::map<Loss, std::set<std::string>>, std::less<>> lost_;
  int64_t object_count_ = 0;
};

// "body of 1 item lost", "bodies of 3 items lost", "2 attachments lost"...
std::string LossText(Loss loss, size_t count);

}  // namespace edb
