// One walk over a table's data tree, noting where each record lies.
#include "ese/data_tree_locator.h"

namespace edb::ese {

class LocatorVisitor : public TreeVisitor {
 public:
  LocatorVisitor(DataTreeLocator* locator, const std::string& table_name, CorruptionReporter& reporter)
      : locator_(locator), table_name_(table_name), reporter_(reporter) {}

  void Leaf(const TreeLeafEntry& entry) override {
    locator_->pages_.push_back(entry.page);
    locator_->tags_.push_back(static_cast<uint16_t>(entry.tag_index));
  }

  void Damage(const TreeDamage& damage) override {
    ++locator_->damage_count_;
    std::string cost = damage.entries_lost >= 0 ? std::to_string(damage.entries_lost) + " records lost"
                                                : "the records under it lost";
    reporter_.Corruption(Where(damage.page), damage.reason + "; " + cost);
  }

  void SuspectPage(uint32_t page, bool leaf, int entries, const std::string& reason) override {
    ++locator_->suspect_page_count_;
    std::string what = leaf ? "its " + std::to_string(entries) + " records read as they stand and may be altered"
                            : "its keys followed as they stand";
    reporter_.Corruption(Where(page), reason + "; " + what);
  }

 private:
  std::string Where(uint32_t page) const { return "page " + std::to_string(page) + " of table " + table_name_; }

  DataTreeLocator* locator_;
  const std::string& table_name_;
  CorruptionReporter& reporter_;
};

DataTreeLocator::DataTreeLocator(const EseFile& file, const TreeShape& shape, const std::string& table_name,
                                 CorruptionReporter& reporter) {
  LocatorVisitor visitor(this, table_name, reporter);
  TreeShape tolerant = shape;
  tolerant.accept_checksum_mismatch = true;
  WalkTree(file, tolerant, &visitor);
  pages_.shrink_to_fit();
  tags_.shrink_to_fit();
}

}  // namespace edb::ese
