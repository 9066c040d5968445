// Tallying and wording what reported damage cost.
#include "base/damage_costs.h"

namespace edb {

bool DamageCosts::Add(std::string_view damage, Loss loss, std::string_view object) {
  auto found = lost_.find(damage);
  if (found == lost_.end()) {
    order_.emplace_back(damage);
    found = lost_.emplace(std::string(damage), std::map<Loss, std::set<std::string>>{}).first;
  }
  if (!found->second[loss].emplace(object).second) return false;
  ++object_count_;
  return true;
}

std::vector<std::pair<std::string, std::string>> DamageCosts::Lines() const {
  std::vector<std::pair<std::string, std::string>> lines;
  for (const std::string& damage : order_) {
    std::string cost;
    for (const auto& [loss, objects] : lost_.find(damage)->second) {
      if (!cost.empty()) cost += "; ";
      cost += LossText(loss, objects.size());
    }
    lines.emplace_back(damage, std::move(cost));
  }
  return lines;
}

std::string LossText(Loss loss, size_t count) {
  const std::string n = std::to_string(count);
  const bool one = count == 1;
  switch (loss) {
    case Loss::kBody: return one ? "body of 1 item lost" : "bodies of " + n + " items lost";
    case Loss::kAttachment: return n + (one ? " attachment lost" : " attachments lost");
    case Loss::kRecord: return n + (one ? " record skipped" : " records skipped");
  }
  return n + " lost";
}

}  // namespace edb
