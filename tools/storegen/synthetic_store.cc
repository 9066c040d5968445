// Deterministic synthetic stores. One pseudo-random stream (SplitMix64) drives
// every choice, so the output depends on the seed and the item count only.
#include "storegen/synthetic_store.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <vector>

namespace storegen {
namespace {

class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // Uniform in [0, n).
  uint64_t Below(uint64_t n) { return Next() % n; }
  // Uniform in [low, high].
  uint64_t Between(uint64_t low, uint64_t high) { return low + Below(high - low + 1); }
  bool Percent(uint64_t p) { return Below(100) < p; }
  template <typename T, size_t N>
  const T& Pick(const std::array<T, N>& values) {
    return values[Below(N)];
  }

 private:
  uint64_t state_;
};

constexpr std::array<const char*, 16> kFirstNames = {"John",  "Renée", "Max",   "Anna",  "Jürgen", "Zoë",
                                                     "Carol", "Dan",   "Ingrid", "Paul", "Søren",  "Marta",
                                                     "Yuki",  "Ahmed", "Chloé", "Pedro"};
constexpr std::array<const char*, 16> kLastNames = {"Doe",    "Lefèvre", "Mustermann", "Berg",  "Weiß",  "Ångström",
                                                    "Miller", "Brown",   "Svensson",   "Smith", "Jensen", "Kowalska",
                                                    "Tanaka", "Haddad",  "Dubois",     "García"};
constexpr std::array<const char*, 48> kWords = {
    "the",     "project", "meeting", "budget",   "report", "please", "review", "attached", "Grüße",  "café",
    "naïve",   "€",       "invoice", "schedule", "draft",  "final",  "team",   "customer", "Köln",   "déjà",
    "vu",      "quarter", "numbers", "plan",     "risk",   "update", "status", "next",     "week",   "Monday",
    "Friday",  "call",    "offer",   "contract", "sign",   "thanks", "regards", "and",     "for",    "with",
    "Straße",  "Ærø",     "über",    "señor",    "😀",     "☕",      "delivery", "order"};
constexpr std::array<const char*, 6> kTopics = {"Budget", "Phoenix", "Quartalsbericht", "Réunion", "Offer", "Status"};

constexpr uint64_t kSecond = 10'000'000;

struct UserMailbox {
  Id key;
  std::string name;      // "First Last"
  std::string address;   // first.last@contoso.com, ASCII
  Id inbox = 0, sent = 0, deleted = 0, drafts = 0, junk = 0, projects = 0, archive = 0;
  Id calendar = 0, contacts = 0, tasks = 0, notes = 0, journal = 0;
};

std::string AsciiAddressPart(const std::string& utf8) {
  std::string out;
  for (char c : utf8) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x80 && std::isalpha(u)) out.push_back(static_cast<char>(std::tolower(u)));
  }
  return out.empty() ? "user" : out;
}

class Generator {
 public:
  Generator(const SyntheticOptions& options, StoreSink* sink) : options_(options), sink_(sink), random_(options.seed) {}

  void Run() {
    MakeMailboxes();
    for (uint64_t i = 0; i < options_.items; ++i) AddItem(i);
  }

 private:
  Id NextFolderId() { return 0x0100000000000000ull | (0x100000 + folder_counter_++); }

  Id AddFolder(Id mailbox, std::optional<Id> parent, std::string name, std::optional<std::string> container_class,
               ContentsLayout layout = ContentsLayout::kKeyFirst) {
    Folder f;
    f.id = NextFolderId();
    f.parent_id = parent;
    f.display_name = std::move(name);
    f.container_class = std::move(container_class);
    f.layout = layout;
    sink_->AddFolder(mailbox, f);
    return f.id;
  }

  void MakeMailboxes() {
    const uint64_t user_count = std::clamp<uint64_t>(options_.items / 4000, 2, 25);
    std::vector<Mailbox> mailboxes;
    for (uint64_t u = 0; u < user_count; ++u) {
      Mailbox m;
      m.key = (u % 2 ? 0x3c00000000000000ull : 0x0100000000000000ull) | (0x1000 + u);
      const std::string first = kFirstNames[u % kFirstNames.size()];
      const std::string last = kLastNames[(u * 7 + u / kLastNames.size()) % kLastNames.size()];
      const std::string name = first + " " + last + (u >= kFirstNames.size() ? " " + std::to_string(u) : "");
      m.display_name = "Mailbox - " + name;
      m.legacy_dn = "/o=Contoso/ou=First Administrative Group/cn=Recipients/cn=user" + std::to_string(u);
      mailboxes.push_back(m);
      UserMailbox user;
      user.key = m.key;
      user.name = name;
      user.address = AsciiAddressPart(first) + "." + AsciiAddressPart(last) + std::to_string(u) + "@contoso.com";
      users_.push_back(std::move(user));
    }
    const std::array<std::pair<Id, const char*>, 3> system = {
        std::pair<Id, const char*>{0x0100000000000f01, "SMTP (EXCH01-{4F1A2B3C-5D6E-4F70-8192-A3B4C5D6E7F8})"},
        {0x2f00000000000f02, "Mailbox - SystemMailbox{9B5E5A3C-1F2D-4E6A-8B7C-0D1E2F3A4B5C}"},
        {0x0100000000000f05, "Mailbox - System Attendant"}};
    for (const auto& [key, name] : system) {
      Mailbox m;
      m.key = key;
      m.display_name = name;
      sink_->AddMailbox(m);
    }
    for (const Mailbox& m : mailboxes) sink_->AddMailbox(m);

    for (const auto& [key, name] : system) {
      const Id top = AddFolder(key, std::nullopt, "Top of Information Store", std::nullopt);
      AddFolder(key, top, "Schedule", std::nullopt);
    }
    for (size_t u = 0; u < users_.size(); ++u) {
      UserMailbox& user = users_[u];
      const Id top = AddFolder(user.key, std::nullopt, "Top of Information Store", std::nullopt);
      user.inbox = AddFolder(user.key, top, "Inbox", "IPF.Note",
                             u == 1 ? ContentsLayout::kDateFirst : ContentsLayout::kKeyFirst);
      AddFolder(user.key, top, "Outbox", "IPF.Note");
      user.sent = AddFolder(user.key, top, "Sent Items", "IPF.Note");
      user.deleted = AddFolder(user.key, top, "Deleted Items", "IPF.Note");
      user.drafts = AddFolder(user.key, top, "Drafts", "IPF.Note");
      user.junk = AddFolder(user.key, top, "Junk E-mails", "IPF.Note");
      AddFolder(user.key, top, "Sync Issues", "IPF.Note");
      user.calendar = AddFolder(user.key, top, "Calendar", "IPF.Appointment", ContentsLayout::kDateFirst);
      user.contacts = AddFolder(user.key, top, "Contacts", "IPF.Contact");
      user.tasks = AddFolder(user.key, top, "Tasks", "IPF.Task");
      user.notes = AddFolder(user.key, top, "Notes", "IPF.StickyNote");
      user.journal = AddFolder(user.key, top, "Journal", "IPF.Journal");
      user.projects = AddFolder(user.key, top, "Projekte", std::nullopt,
                                u == 0 ? ContentsLayout::kWide : ContentsLayout::kKeyFirst);
      user.archive = AddFolder(user.key, top, "Archiv " + std::to_string(2003 + u % 3), "IPF.Note");
      for (const char* name : {"Finder", "Spooler Queue", "Views"}) AddFolder(user.key, top, name, std::nullopt);
    }
  }

  std::string Words(size_t characters) {
    std::string out;
    size_t since_break = 0;
    while (out.size() < characters) {
      out += random_.Pick(kWords);
      if (++since_break >= 12 && random_.Percent(20)) {
        out += ".\n";
        since_break = 0;
      } else {
        out += ' ';
      }
    }
    return out;
  }

  FileTime RandomTime() {
    static const FileTime start = MakeFileTime(2003, 1, 1);
    return FileTime{start.ticks + random_.Below(4ull * 365 * 86400) * kSecond};
  }

  const UserMailbox& RandomUser() { return users_[random_.Below(users_.size())]; }

  AddressEntry PersonEntry(const UserMailbox& user) { return {user.name, "SMTP", user.address}; }

  AddressEntry RandomSender() {
    if (random_.Percent(70)) return PersonEntry(RandomUser());
    if (random_.Percent(50)) {
      return {std::string(random_.Pick(kFirstNames)) + " " + random_.Pick(kLastNames), "SMTP",
              "contact" + std::to_string(random_.Below(1000)) + "@fabrikam.com"};
    }
    return {"", "", "news" + std::to_string(random_.Below(50)) + "@northwind.com"};
  }

  Body RandomBody() {
    Body body;
    // Short bodies stay in the record, long ones are separated; records are
    // kept small enough for libesedb to read 100,000 of them on 4 KiB pages.
    const bool long_body = random_.Percent(30);
    const size_t size = long_body ? random_.Between(1100, 16000) : random_.Between(20, 200);
    const uint64_t kind = random_.Below(100);
    if (kind < 45) {
      body.plain = Words(size);
    } else if (kind < 75) {
      if (random_.Percent(20)) {
        body.rtf_kind = RtfKind::kFromHtml;
        body.rtf_source = "<html><body><p>" + Words(std::min<size_t>(size, 6000)) + "</p></body></html>";
      } else {
        body.rtf_kind = RtfKind::kFromText;
        body.rtf_source = Words(std::min<size_t>(size, 6000));
      }
    } else {
      body.html = "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\"></head><body><p>" +
                  Words(size) + "</p></body></html>";
    }
    return body;
  }

  std::vector<Attachment> RandomAttachments() {
    std::vector<Attachment> out;
    const uint64_t count = random_.Between(1, 3);
    for (uint64_t k = 0; k < count; ++k) {
      Attachment a;
      const uint64_t n = attachment_counter_++;
      a.id = (n % 2 ? 0x7a00000000000000ull : 0x0100000000000000ull) | (0x40000000 + n);
      const size_t size = random_.Percent(70) ? random_.Between(100, 1000) : random_.Between(1024, 30000);
      a.display_name = "Anlage " + std::to_string(n) + (random_.Percent(50) ? ".pdf" : ".txt");
      a.file_name = a.display_name;
      a.mime_type = "application/octet-stream";
      a.data.resize(size);
      for (size_t i = 0; i < size; i += 8) {
        const uint64_t bits = random_.Next();
        for (size_t b = 0; b < 8 && i + b < size; ++b) a.data[i + b] = static_cast<char>(bits >> (8 * b));
      }
      out.push_back(std::move(a));
    }
    return out;
  }

  Item BaseItem(uint64_t index) {
    Item item;
    item.key = (index % 2 ? 0x5d00000000000000ull : 0x0100000000000000ull) | (0x10000000 + index);
    item.submit_time = RandomTime();
    item.delivery_time = FileTime{item.submit_time->ticks + random_.Between(1, 600) * kSecond};
    return item;
  }

  Item MailItem(uint64_t index, bool with_body) {
    Item item = BaseItem(index);
    const uint64_t c = random_.Below(100);
    if (c < 45) {
      item.message_class.reset();
    } else if (c < 90) {
      item.message_class = "IPM.Note";
    } else if (c < 94) {
      item.message_class = "IPM.Note.SMIME";
    } else if (c < 97) {
      item.message_class = "REPORT.IPM.Note.NDR";
    } else {
      item.message_class = "IPM.Schedule.Meeting.Request";
    }
    if (random_.Percent(30)) item.subject_prefix = random_.Percent(70) ? "RE: " : "FW: ";
    item.subject = std::string(random_.Pick(kTopics)) + " " + std::to_string(index) + " " + Words(10);
    const AddressEntry sender = RandomSender();
    item.sender_name = sender.display_name.empty() ? sender.address : sender.display_name;
    item.sender = sender;
    const uint64_t recipient_count = random_.Between(1, 3);
    for (uint64_t r = 0; r < recipient_count; ++r) {
      item.recipients.push_back({r == 0 ? RecipientType::kTo : RecipientType::kCc, PersonEntry(RandomUser())});
    }
    if (with_body || random_.Percent(90)) item.body = RandomBody();
    if (random_.Percent(6)) item.attachments = RandomAttachments();
    return item;
  }

  Item OtherItem(uint64_t index, const char* message_class) {
    Item item = BaseItem(index);
    item.message_class = message_class;
    item.subject = Words(30);
    if (random_.Percent(80)) item.body.plain = Words(random_.Between(20, 600));
    return item;
  }

  void AddItem(uint64_t index) {
    if (index % 4 == 0) {
      sink_->AddItem(users_[0].inbox, MailItem(index, true));
      return;
    }
    const UserMailbox& user = RandomUser();
    const uint64_t r = random_.Below(100);
    if (r < 62) {
      const uint64_t f = random_.Below(100);
      const Id folder = f < 50   ? user.inbox
                        : f < 70 ? user.sent
                        : f < 80 ? user.deleted
                        : f < 90 ? user.projects
                        : f < 95 ? user.archive
                        : f < 98 ? user.junk
                                 : user.drafts;
      Item item = MailItem(index, false);
      if (folder == users_[0].projects && random_.Percent(50)) {
        item.contents_blob = ContentsBlob{"vorschau-" + std::to_string(index) + ".bin",
                                          std::string(random_.Between(200, 3000), 'p')};
      }
      sink_->AddItem(folder, item);
    } else if (r < 72) {
      Item c = OtherItem(index, "IPM.Contact");
      const std::string first = random_.Pick(kFirstNames), last = random_.Pick(kLastNames);
      c.subject = first + " " + last;
      c.text_properties = {{"S82a0", c.subject},
                           {"S3a11", first},
                           {"S3a06", last},
                           {"S81b0", AsciiAddressPart(first) + "." + AsciiAddressPart(last) + "@fabrikam.com"},
                           {"S3a08", "+49 221 555" + std::to_string(random_.Between(1000, 9999))},
                           {"S3a16", "Fabrikam GmbH"}};
      sink_->AddItem(user.contacts, c);
    } else if (r < 79) {
      Item a = OtherItem(index, "IPM.Appointment");
      a.text_properties["S80fd"] = "Raum " + std::to_string(random_.Between(1, 9)) + ".0" +
                                   std::to_string(random_.Between(1, 9));
      a.time_properties["T820d"] = FileTime{a.submit_time->ticks + 86400 * kSecond};
      a.time_properties["T820e"] = FileTime{a.submit_time->ticks + (86400 + 3600) * kSecond};
      sink_->AddItem(user.calendar, a);
    } else if (r < 84) {
      Item t = OtherItem(index, "IPM.Task");
      t.time_properties["T8105"] = FileTime{t.submit_time->ticks + 7 * 86400 * kSecond};
      sink_->AddItem(user.tasks, t);
    } else if (r < 88) {
      sink_->AddItem(user.notes, OtherItem(index, "IPM.StickyNote"));
    } else if (r < 91) {
      Item j = OtherItem(index, "IPM.Activity");
      j.text_properties["S8700"] = "Phone call";
      sink_->AddItem(user.journal, j);
    } else {
      static constexpr std::array<const char*, 4> kHidden = {
          "IPM.Configuration.WorkHours", "IPM.Microsoft.ScheduleData.FreeBusy", "IPM.Rule.Version2.Message",
          "IPM.ExtendedRule.Message"};
      Item h = BaseItem(index);
      h.message_class = random_.Pick(kHidden);
      h.submit_time.reset();
      h.delivery_time.reset();
      h.creation_time = RandomTime();
      sink_->AddItem(user.inbox, h);
    }
  }

  const SyntheticOptions options_;
  StoreSink* sink_;
  Random random_;
  std::vector<UserMailbox> users_;
  uint64_t folder_counter_ = 0;
  uint64_t attachment_counter_ = 0;
};

}  // namespace

void GenerateSyntheticStore(const SyntheticOptions& options, StoreSink* sink) { Generator(options, sink).Run(); }

void WriteSyntheticStore(const SyntheticOptions& options, uint32_t page_size, const std::string& path) {
  BuildOptions build;
  build.page_size = page_size;
  // Stores of 4 KiB pages are Exchange 2003 stores: 8-bit plain bodies.
  build.plain_body_code_page = page_size == 4096 ? 1252 : 1200;
  build.scratch_directory = ScratchDirectoryFor(path);
  StoreBuilder builder(build);
  GenerateSyntheticStore(options, &builder);
  builder.Finish(path);
}

}  // namespace storegen
