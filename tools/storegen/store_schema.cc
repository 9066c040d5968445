// Column lists of the store tables.
#include "storegen/store_schema.h"

#include <stdexcept>

namespace storegen {
namespace {

using esewriter::ColumnSpec;
using esewriter::ColumnType;
using esewriter::Placement;

ColumnSpec Bit(std::string name) { return {std::move(name), ColumnType::kBit, 0, false, Placement::kFixed, 0}; }
ColumnSpec Binary(std::string name) {
  return {std::move(name), ColumnType::kBinary, 0, false, Placement::kVariable, 0};
}
ColumnSpec TaggedBinary(std::string name) {
  return {std::move(name), ColumnType::kBinary, 0, false, Placement::kTagged, 0};
}
ColumnSpec LongBinary(std::string name) {
  return {std::move(name), ColumnType::kLongBinary, 0, false, Placement::kTagged, 0};
}
ColumnSpec Text(std::string name, uint32_t code_page = 1200) {
  return {std::move(name), ColumnType::kText, code_page, false, Placement::kVariable, 0};
}
ColumnSpec LongText(std::string name, uint32_t code_page = 1200) {
  return {std::move(name), ColumnType::kLongText, code_page, false, Placement::kTagged, 0};
}

int PlacementRank(const ColumnSpec& column) {
  switch (column.placement) {
    case Placement::kFixed:
      return 0;
    case Placement::kVariable:
      return 1;
    case Placement::kTagged:
      return 2;
    case Placement::kAutomatic:
      break;
  }
  throw std::logic_error("store columns name their placement: " + column.name);
}

// Columns of the contents tables that every layout has after its variable
// part: texts, contact fields and appointment times.
void AppendContentsTaggedColumns(std::vector<ColumnSpec>* columns) {
  columns->push_back(LongText("S3d"));
  columns->push_back(LongText("Se1d"));
  columns->push_back(LongText("S42"));
  columns->push_back(LongText("S1000", 1252));  // the start of the plain body
  columns->push_back(LongText("S80fd"));
  columns->push_back(LongText("S3a09"));
  columns->push_back(LongText("S3a08"));
  columns->push_back(LongText("S3a1c"));
  columns->push_back(LongText("S3a15"));
  columns->push_back(LongText("S81b0"));
  columns->push_back(TaggedBinary("T820d"));
  columns->push_back(TaggedBinary("T820e"));
  columns->push_back(LongText("Se04"));
}

}  // namespace

bool SwitchesToBigEndian(const ColumnSpec& column) {
  if (column.type != ColumnType::kBinary && column.type != ColumnType::kLongBinary) return false;
  if (column.name.empty() || column.name.size() > 6) return false;
  return column.name[0] == 'Q' || column.name.starts_with("N67b0");
}

esewriter::TableSpec MailboxTableSpec() {
  // The mailbox key stands at position 20 and the display name at 29, where
  // readers look for them when the names are missing.
  return {"Mailbox",
          {Binary("N6602"), Binary("L6603"), Binary("T3007"), Binary("T3008"), Binary("L6604"),
           Binary("L6605"), Text("S6606"), Binary("L6607"), Binary("N6608"), Binary("L6609"),
           Binary("T660a"), Binary("T660b"), Binary("L660c"), Binary("N660d"), Binary("L660e"),
           Binary("L660f"), Binary("L6611"), Binary("L6612"), Binary("N6613"), Binary("L6614"),
           Binary("Q6764"), Binary("L6615"), Binary("T6616"), Binary("L6617"), Binary("N6618"),
           Binary("L6619"), Binary("L661a"), Binary("N661b"), Binary("L661c"), Text("S3001"),
           Text("S3004"), Binary("L661d")}};
}

esewriter::TableSpec FoldersTableSpec() {
  return {"Folders",
          {Bit("B360a"), Binary("Q6748"), Binary("Q6749"), Binary("Q6764"), Binary("L3602"), Binary("L3603"),
           Binary("T3007"), Binary("T3008"), Text("S3613"), Binary("L6635"), LongText("S3001"),
           LongText("S3004")}};
}

esewriter::TableSpec MessageTableSpec(uint32_t plain_body_code_page) {
  std::vector<ColumnSpec> columns = {
      Bit("Be1b"),       Bit("Be1f"),         Binary("Le07"),       Binary("T3007"),    Binary("N67b0"),
      Binary("Q6748"),   Text("S1a"),         Binary("N67b3"),      Binary("T39"),      Binary("Te06"),
      Binary("T3008"),   Binary("Le08"),      Binary("N67be"),      LongText("S3d"),
      LongText("Se1d"),  LongText("S42"),     LongText("Se04"),     LongText("S8299"),  LongBinary("N67b4"),
      LongText("S1000", plain_body_code_page), LongBinary("N1009"), LongBinary("N1013")};
  // Contact fields, in the order a contact form fills them.
  for (const char* name :
       {"S82a0", "S3a11", "S3a44", "S3a06", "S81b0", "S3a17", "S3a1c", "S3a24", "S3a09", "S3a51", "S8241", "S3a16",
        "S3a15", "S829f", "S81c2", "S81af", "S3a28", "S3a27", "S3a26", "S80a6", "S808d", "S3a08", "S3a1b", "S80a5",
        "S809e", "S3a2a", "S8097", "S3a0a", "S8095", "S80a7", "S3a5d", "S3a5c", "S3a59", "S3a5b", "S3a5a",
        "S3a29"}) {
    columns.push_back(LongText(name));
  }
  // Appointments, tasks and journal entries.
  columns.push_back(LongText("S80fd"));
  columns.push_back(TaggedBinary("T820d"));
  columns.push_back(TaggedBinary("T820e"));
  columns.push_back(TaggedBinary("T8105"));
  columns.push_back(LongText("S8700"));
  return {"Msg", std::move(columns)};
}

esewriter::TableSpec AttachmentTableSpec() {
  return {"1-23",
          {Binary("Q3f88"), Binary("Le21"), Binary("Le20"), Binary("T3007"), Binary("L3705"), LongText("S3001"),
           LongText("S3704"), LongText("S3707"), LongText("S370e"), LongText("S3703"), LongBinary("N3701")}};
}

esewriter::TableSpec ContentsTableSpec(std::string name, ContentsLayout layout) {
  std::vector<ColumnSpec> columns = {Bit("Be1b")};
  if (layout == ContentsLayout::kDateFirst) {
    for (auto column : {Binary("T39"), Binary("Te06"), Binary("Le08"), Binary("N67b0"), Text("S1a"),
                        Binary("N67be"), Binary("Le07")}) {
      columns.push_back(std::move(column));
    }
  } else {
    for (auto column : {Binary("N67b0"), Text("S1a"), Binary("T39"), Binary("Te06"), Binary("Le08"),
                        Binary("N67be"), Binary("Le07")}) {
      columns.push_back(std::move(column));
    }
  }
  AppendContentsTaggedColumns(&columns);
  if (layout == ContentsLayout::kWide) {
    for (const char* filler : {"S1035", "S1039", "S1042", "L1080", "L1090", "T1091", "L3fde", "S3ffa", "T3008", "L17",
                               "L36", "S70", "N71", "Se02", "Se03", "Le17", "Nff9", "S3fd9"}) {
      columns.push_back(filler[0] == 'S' ? LongText(filler) : TaggedBinary(filler));
    }
    columns.push_back(LongBinary("N7c06"));  // position 39
    columns.push_back(TaggedBinary("L7c07"));
    columns.push_back(TaggedBinary("T7c08"));
    columns.push_back(LongText("S7c09"));  // position 42
    columns.push_back(TaggedBinary("L7c0a"));
  }
  return {std::move(name), std::move(columns)};
}

TableLayout::TableLayout(esewriter::TableSpec spec) : spec_(std::move(spec)) {
  int previous_rank = 0;
  bool big_endian = false;
  for (size_t i = 0; i < spec_.columns.size(); ++i) {
    const ColumnSpec& column = spec_.columns[i];
    const int rank = PlacementRank(column);
    if (rank < previous_rank) throw std::logic_error("column out of enumeration order: " + column.name);
    previous_rank = rank;
    if (!index_.emplace(column.name, i).second) throw std::logic_error("column repeats: " + column.name);
    if (SwitchesToBigEndian(column)) big_endian = true;
    big_endian_.push_back(big_endian);
  }
}

size_t TableLayout::Position(std::string_view name) const {
  const auto it = index_.find(std::string(name));
  if (it == index_.end()) {
    throw std::invalid_argument("table " + spec_.name + " has no column \"" + std::string(name) + "\"");
  }
  return it->second;
}

}  // namespace storegen
