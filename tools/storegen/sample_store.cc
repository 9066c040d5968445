// The sample store's contents. Every piece is chosen to exercise something a
// reader must get right; comments say what.
#include "storegen/sample_store.h"

#include "storegen/store_builder.h"

namespace storegen {
namespace {

// Mailbox keys: one 16-digit, one 15-digit identifier text.
constexpr Id kJohnKey = 0x1a2b3c4d5e6f7001;
constexpr Id kReneeKey = 0x0100000000000e21;

AddressEntry Smtp(std::string name, std::string address) { return {std::move(name), "SMTP", std::move(address)}; }
AddressEntry Exchange(std::string name, std::string dn) { return {std::move(name), "EX", std::move(dn)}; }
Recipient To(AddressEntry e) { return {RecipientType::kTo, std::move(e)}; }
Recipient Cc(AddressEntry e) { return {RecipientType::kCc, std::move(e)}; }
Recipient Bcc(AddressEntry e) { return {RecipientType::kBcc, std::move(e)}; }

// Senders chosen so the reader's address patterns each get their case:
// two words and an address, "<" after two words, "<" after one word, an
// address alone, two words without address, one word alone.
AddressEntry JohnDoe() { return Smtp("John Doe", "john.doe@contoso.com"); }
AddressEntry ReneeLefevre() { return Smtp("Renée Lefèvre", "renee.lefevre@contoso.com"); }
AddressEntry MaxMustermann() { return Smtp("Max Mustermann", "max.mustermann@fabrikam.de"); }
AddressEntry AnnaBerg() { return {"Anna Berg", "smtp", "anna.berg@fabrikam.com"}; }  // two words, address
AddressEntry Helpdesk() { return Smtp("Helpdesk", "helpdesk@contoso.com"); }          // one word, address
AddressEntry AddressOnly() { return {"", "", "carol@northwind.com"}; }                // address alone
AddressEntry DanBrown() {  // two words, no address
  return Exchange("Dan Brown", "/o=Contoso/ou=First Administrative Group/cn=Recipients/cn=dbrown");
}
AddressEntry MailerDaemon() { return {"MAILER-DAEMON", "", ""}; }  // one word

Item Mail(Id key, std::optional<std::string> message_class, std::string subject, FileTime submit) {
  Item item;
  item.key = key;
  item.message_class = std::move(message_class);
  item.subject = std::move(subject);
  item.submit_time = submit;
  item.delivery_time = FileTime{submit.ticks + 25 * 10'000'000ull};
  return item;
}

void From(Item* item, const AddressEntry& sender) {
  item->sender_name = sender.display_name.empty() ? sender.address : sender.display_name;
  item->sender = sender;
}

// Deterministic bytes for binary attachments.
std::string PatternBytes(size_t size, uint32_t seed) {
  std::string out(size, '\0');
  uint32_t x = seed * 2654435761u + 1;
  for (size_t i = 0; i < size; ++i) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    out[i] = static_cast<char>(x & 0xFF);
  }
  return out;
}

Attachment File(Id id, std::string name, std::string data, std::string mime) {
  Attachment a;
  a.id = id;
  a.display_name = name;
  a.file_name = std::move(name);
  a.data = std::move(data);
  a.mime_type = std::move(mime);
  return a;
}

std::string LongReport() {
  std::string text =
      "Hallo John,\n\nanbei der Quartalsbericht Q4 2003. Die wichtigsten Punkte:\n\n";
  const char* points[] = {
      "Umsatz über Plan (+7,5 %), vor allem im Bereich Beratung.",
      "Die Kosten für Reisen lagen bei 12.400 € – deutlich unter Budget.",
      "Neue Kunden: Northwind Traders, Fabrikam GmbH, Contoso Ltd.",
      "Personal: zwei neue Kolleginnen im Team Köln (Grüße an alle!).",
      "Risiken: Lieferverzug bei Hardware, Währungskurs USD/EUR.",
  };
  for (int round = 1; round <= 6; ++round) {
    text += "Abschnitt " + std::to_string(round) + ":\n";
    for (const char* point : points) text += std::string("  • ") + point + "\n";
    text += "\n";
  }
  text += "Viele Grüße 📈\nAnna\n";
  return text;
}

std::string NewsletterHtml() {
  std::string html =
      "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">"
      "<title>Fabrikam News</title><style>p { font-family: Verdana; }</style></head>\n<body>\n"
      "<h1>Fabrikam News – Januar 2004</h1>\n";
  for (int i = 1; i <= 8; ++i) {
    html += "<p>Meldung " + std::to_string(i) +
            ": Unsere Produkte sind jetzt auch in Österreich und der Schweiz erhältlich. Preise ab 99 € "
            "zzgl. MwSt. &amp; Versand.</p>\n";
  }
  html += "<p>Abmelden: <a href=\"http://news.fabrikam.com/unsubscribe\">hier klicken</a></p>\n</body></html>\n";
  return html;
}

std::string WelcomeHtml() {
  return "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\"></head>\n"
         "<body><p>Hi John,</p><p>welcome to Northwind! Déjà vu: the café opens at 8 — see you there 😀</p>"
         "<p>Carol</p></body></html>\n";
}

std::string ProposalHtml() {
  std::string html =
      "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\"></head><body>\n"
      "<p>Dear John,</p>\n<p>please find the signed proposal attached. Summary:</p>\n<ul>\n";
  for (int i = 1; i <= 10; ++i) {
    html += "<li>Milestone " + std::to_string(i) + ": delivery &amp; acceptance, fee 4.500 €</li>\n";
  }
  html += "</ul>\n<p>Best regards,<br>Dan Brown</p>\n</body></html>\n";
  return html;
}

Folder MakeFolder(Id id, std::optional<Id> parent, std::string name, std::optional<std::string> container_class,
                  ContentsLayout layout = ContentsLayout::kKeyFirst) {
  Folder f;
  f.id = id;
  f.parent_id = parent;
  f.display_name = std::move(name);
  f.container_class = std::move(container_class);
  f.layout = layout;
  return f;
}

// John Doe's inbox: mail of every body kind, the address cases, hidden items.
std::vector<Item> JohnInbox() {
  std::vector<Item> items;

  Item m1 = Mail(0x9f00000000010001, "IPM.Note", "Réunion du 5 janvier", MakeFileTime(2004, 1, 5, 13, 7, 9));
  From(&m1, MaxMustermann());
  m1.recipients = {To(JohnDoe()), Cc(ReneeLefevre())};
  m1.recipient_text = "John Doe; Renée Lefèvre";
  m1.body.plain = "Bonjour John,\n\nla réunion est confirmée pour lundi à 10 h.\n\nÀ bientôt,\nMax";  // in the record
  items.push_back(std::move(m1));

  Item m2 = Mail(0x0100000000010002, std::nullopt, "Quartalsbericht Q4 2003 📈", MakeFileTime(2004, 1, 12, 8, 30, 0));
  From(&m2, AnnaBerg());
  m2.recipients = {To(JohnDoe())};
  m2.body.plain = LongReport();  // separated: longer than 1024 bytes
  m2.attachments = {File(0x7a00000000020101, "Quartalsbericht Q4 2003.pdf", PatternBytes(20000, 1), "application/pdf"),
                    File(0x0100000000020102, "Notizen.txt", "Zahlen vorläufig, bitte nicht weitergeben.\r\n",
                         "text/plain")};
  items.push_back(std::move(m2));

  Item m3 = Mail(0x0100000000010003, "IPM.Note", "Angebot für Projekt Phoenix", MakeFileTime(2004, 1, 14, 16, 45, 30));
  m3.subject_prefix = "RE: ";
  From(&m3, Helpdesk());
  m3.recipients = {To(JohnDoe())};
  m3.body.rtf_kind = RtfKind::kFromText;
  m3.body.rtf_source =
      "Hallo John,\n\ndas Angebot über 12.500 € liegt bei. Änderungen {bitte} mit \\ markieren.\n\nGruß\nHelpdesk";
  items.push_back(std::move(m3));

  Item m4 = Mail(0x9f00000000010004, "IPM.Note", "Welcome to Northwind ☕", MakeFileTime(2004, 2, 2, 9, 0, 0));
  From(&m4, AddressOnly());
  m4.recipients = {To(JohnDoe())};
  m4.body.html = WelcomeHtml();  // short UTF-8 HTML, kept in the record
  items.push_back(std::move(m4));

  Item m5 = Mail(0x0100000000010005, "IPM.Note.SMIME", "Signed proposal", MakeFileTime(2004, 2, 3, 11, 20, 0));
  From(&m5, DanBrown());
  m5.recipients = {To(JohnDoe()), Cc(Smtp("Legal", "legal@contoso.com"))};
  m5.body.rtf_kind = RtfKind::kFromHtml;
  m5.body.rtf_source = ProposalHtml();
  // Hostile and clashing file names.
  m5.attachments = {File(0x0100000000020103, "../../etc/passwd", "root:x:0:0:root:/root:/bin/bash\n", "text/plain"),
                    File(0x7a00000000020104, "a/b\\c.txt", "path separators in a name\n", "text/plain"),
                    File(0x0100000000020105, "image001.png", PatternBytes(1500, 2), "image/png"),
                    File(0x7a00000000020106, "image001.png", PatternBytes(900, 3), "image/png")};
  items.push_back(std::move(m5));

  Item m6 = Mail(0x9f00000000010006, "REPORT.IPM.Note.NDR", "Undeliverable: Signed proposal",
                 MakeFileTime(2004, 2, 3, 11, 21, 5));
  From(&m6, MailerDaemon());
  m6.recipients = {To(JohnDoe())};
  m6.body.plain = "Your message did not reach some or all of the intended recipients.\n\n"
                  "      Subject: Signed proposal\n      Sent: 03.02.2004 11:20\n\n"
                  "The following recipient(s) could not be reached:\n\n      legal@contoso.com\n";
  items.push_back(std::move(m6));

  Item m7 = Mail(0x0100000000010007, "IPM.Schedule.Meeting.Request", "Projekt-Kickoff",
                 MakeFileTime(2004, 2, 9, 10, 0, 0));
  From(&m7, ReneeLefevre());
  m7.recipients = {To(JohnDoe()), To(MaxMustermann())};
  m7.body.plain = "Wann: Montag, 16. Februar 2004 10:00–11:30\nWo: Raum 4.01\n";
  m7.text_properties["S80fd"] = "Raum 4.01";
  m7.time_properties["T820d"] = MakeFileTime(2004, 2, 16, 9, 0, 0);
  m7.time_properties["T820e"] = MakeFileTime(2004, 2, 16, 10, 30, 0);
  items.push_back(std::move(m7));

  Item m8 = Mail(0x9f00000000010008, "IPM.Note", "Fabrikam News – Januar 2004", MakeFileTime(2004, 2, 10, 6, 0, 0));
  From(&m8, Smtp("Fabrikam News", "news@fabrikam.com"));
  m8.recipients = {To(JohnDoe())};
  m8.body.html = NewsletterHtml();
  m8.body.html_charset = HtmlCharset::kWindows1252;
  items.push_back(std::move(m8));

  // The same recipient three times (To, Cc, Bcc); plain and RTF bodies both.
  Item m9 = Mail(0x0100000000010009, std::nullopt, "Team update", MakeFileTime(2004, 2, 11, 17, 30, 0));
  From(&m9, ReneeLefevre());
  m9.recipients = {To(Smtp("Team", "team@contoso.com")), Cc(Smtp("Team", "team@contoso.com")),
                   Bcc(Smtp("Team", "team@contoso.com")), To(JohnDoe())};
  m9.body.plain = "Hallo zusammen,\n\n" + std::string(60, '-') + "\n" + LongReport();
  m9.body.rtf_kind = RtfKind::kFromText;
  m9.body.rtf_source = "Hallo zusammen,\n\nsiehe Textfassung. Grüße, Renée";
  items.push_back(std::move(m9));

  // RTF kept in the uncompressed stream form.
  Item m10 = Mail(0x9f0000000001000a, "IPM.Note", "Uncompressed RTF", MakeFileTime(2004, 2, 12, 12, 0, 0));
  From(&m10, JohnDoe());
  m10.recipients = {To(JohnDoe())};
  m10.body.rtf_kind = RtfKind::kFromText;
  m10.body.rtf_source = "This RTF body is stored without compression.";
  m10.body.rtf_compressed = false;
  items.push_back(std::move(m10));

  // Hidden items: configuration and rules live beside the mail.
  const std::pair<Id, const char*> hidden[] = {{0x010000000001000b, "IPM.Configuration.WorkHours"},
                                               {0x9f0000000001000c, "IPM.Microsoft.ScheduleData.FreeBusy"},
                                               {0x010000000001000d, "IPM.Rule.Version2.Message"},
                                               {0x9f0000000001000e, "IPM.ExtendedRule.Message"}};
  for (const auto& [key, message_class] : hidden) {
    Item h;
    h.key = key;
    h.message_class = message_class;
    h.creation_time = MakeFileTime(2003, 6, 2, 9, 31, 0);
    items.push_back(std::move(h));
  }
  return items;
}

Item Contact(Id key, std::map<std::string, std::string> fields, std::string subject) {
  Item c;
  c.key = key;
  c.message_class = "IPM.Contact";
  c.subject = std::move(subject);
  c.creation_time = MakeFileTime(2003, 11, 20, 14, 0, 0);
  c.text_properties = std::move(fields);
  return c;
}

std::vector<Item> JohnContacts() {
  std::vector<Item> items;
  // Every contact field; both columns of each shared slot, the later wins.
  items.push_back(Contact(0x0100000000030001,
                          {{"S82a0", "Max Mustermann"},
                           {"S3a11", "Max"},
                           {"S3a44", "M."},
                           {"S3a06", "Mustermann"},
                           {"S81b0", "max.mustermann@fabrikam.de"},
                           {"S3a17", "Einkaufsleiter"},
                           {"S3a1c", "+49 171 5550123"},
                           {"S3a24", "+49 221 5550199"},
                           {"S3a09", "+49 221 5550100"},
                           {"S3a51", "http://www.mustermann.de"},
                           {"S8241", "http://www.fabrikam.de"},
                           {"S3a16", "Fabrikam GmbH"},
                           {"S3a15", "Hohe Straße 1, 50667 Köln"},
                           {"S829f", "Max Mustermann (max.mustermann@fabrikam.de)"},
                           {"S81c2", "Mustermann, Max"},
                           {"S81af", "Max Mustermann"},
                           {"S3a28", "NRW"},
                           {"S3a27", "Köln"},
                           {"S3a26", "Deutschland"},
                           {"S80a6", "Hohe Straße 1"},
                           {"S808d", "Deutschland"},
                           {"S3a08", "+49 221 5550101"},
                           {"S3a1b", "+49 221 5550102"},
                           {"S80a5", "NRW"},
                           {"S809e", "50667"},
                           {"S3a2a", "50668"},
                           {"S8097", "Köln"},
                           {"S3a0a", "M.M."},
                           {"S8095", "Lindenweg 5, 50999 Köln"},
                           {"S80a7", "Lindenweg 5a, 50999 Köln"},
                           {"S3a5d", "Lindenweg 5"},
                           {"S3a5c", "NRW"},
                           {"S3a59", "Köln"},
                           {"S3a5b", "50999"},
                           {"S3a5a", "Deutschland"},
                           {"S3a29", "Hohe Straße 1"}},
                          "Max Mustermann"));
  items.push_back(Contact(0x9f00000000030002,
                          {{"S82a0", "Zoë Ångström 🎻"},
                           {"S3a11", "Zoë"},
                           {"S3a06", "Ångström"},
                           {"S81b0", "zoe.angstrom@northwind.se"},
                           {"S3a16", "Northwind Traders"},
                           {"S3a08", "+46 8 5550 1234"}},
                          "Zoë Ångström 🎻"));
  // Only a full name and a mobile number.
  items.push_back(Contact(0x0100000000030003, {{"S82a0", "Bob"}, {"S3a1c", "+1 425 555 0100"}}, "Bob"));
  return items;
}

Item Appointment(Id key, std::string subject, FileTime start, int minutes, std::string location, std::string body) {
  Item a;
  a.key = key;
  a.message_class = "IPM.Appointment";
  a.subject = std::move(subject);
  a.submit_time = FileTime{start.ticks - 3 * 86400 * 10'000'000ull};
  a.delivery_time = a.submit_time;
  From(&a, JohnDoe());
  a.text_properties["S80fd"] = std::move(location);
  a.time_properties["T820d"] = start;
  a.time_properties["T820e"] = FileTime{start.ticks + static_cast<uint64_t>(minutes) * 60 * 10'000'000ull};
  a.body.plain = std::move(body);
  return a;
}

Item Task(Id key, std::string subject, FileTime due, std::string body) {
  Item t;
  t.key = key;
  t.message_class = "IPM.Task";
  t.subject = std::move(subject);
  t.submit_time = FileTime{due.ticks - 7 * 86400 * 10'000'000ull};
  t.delivery_time = t.submit_time;
  t.time_properties["T8105"] = due;
  t.body.plain = std::move(body);
  return t;
}

Item Note(Id key, std::string text, FileTime when) {
  Item n;
  n.key = key;
  n.message_class = "IPM.StickyNote";
  n.subject = text.substr(0, text.find('\n'));
  n.submit_time = when;
  n.delivery_time = when;
  n.body.plain = std::move(text);
  return n;
}

Item Journal(Id key, std::string subject, std::string kind, FileTime when, std::string body) {
  Item j;
  j.key = key;
  j.message_class = "IPM.Activity";
  j.subject = std::move(subject);
  j.submit_time = when;
  j.delivery_time = when;
  j.text_properties["S8700"] = std::move(kind);
  j.time_properties["T820d"] = when;
  j.time_properties["T820e"] = FileTime{when.ticks + 15 * 60 * 10'000'000ull};
  j.body.plain = std::move(body);
  return j;
}

// The user folder with the wide contents layout: items carry the value pair
// at positions 39/42, one with a hostile name, one without a name.
std::vector<Item> JohnProjects() {
  std::vector<Item> items;
  Item p1 = Mail(0x0100000000040001, "IPM.Note", "Phoenix: Zeitplan", MakeFileTime(2004, 3, 1, 9, 15, 0));
  From(&p1, AnnaBerg());
  p1.recipients = {To(JohnDoe())};
  p1.body.plain = "Der Zeitplan ist angehängt.";
  p1.contents_blob = ContentsBlob{"zeitplan-vorschau.bin", PatternBytes(2000, 4)};
  items.push_back(std::move(p1));

  Item p2 = Mail(0x9f00000000040002, std::nullopt, "Phoenix: Risiken", MakeFileTime(2004, 3, 2, 10, 0, 0));
  From(&p2, DanBrown());
  p2.recipients = {To(JohnDoe())};
  p2.body.html = ProposalHtml();
  p2.contents_blob = ContentsBlob{"..\\..\\windows\\win.ini", PatternBytes(1100, 5)};
  items.push_back(std::move(p2));

  Item p3 = Mail(0x0100000000040003, "IPM.Note", "Phoenix: Protokoll", MakeFileTime(2004, 3, 3, 15, 30, 0));
  From(&p3, JohnDoe());
  p3.recipients = {To(MaxMustermann()), Cc(AnnaBerg())};
  p3.body.rtf_kind = RtfKind::kFromHtml;
  p3.body.rtf_source = "<html><body><p>Protokoll vom 3. März:</p><p>Alles im Plan.</p></body></html>";
  p3.contents_blob = ContentsBlob{std::nullopt, PatternBytes(300, 6)};
  items.push_back(std::move(p3));

  Item p4 = Mail(0x9f00000000040004, "IPM.Note", "Phoenix: Abschluss", MakeFileTime(2004, 3, 4, 8, 0, 0));
  From(&p4, MaxMustermann());
  p4.recipients = {To(JohnDoe())};
  p4.body.plain = "Projekt abgeschlossen.";
  items.push_back(std::move(p4));
  return items;
}

Mailbox JohnDoeMailbox() {
  Mailbox m;
  m.key = kJohnKey;
  m.display_name = "Mailbox - John Doe";
  m.legacy_dn = "/o=Contoso/ou=First Administrative Group/cn=Recipients/cn=jdoe";
  const Id top = 0x01000000000091c0;
  m.folders.push_back(MakeFolder(top, std::nullopt, "Top of Information Store", std::nullopt));
  Folder inbox = MakeFolder(0x01000000000091c1, top, "Inbox", "IPF.Note");
  inbox.items = JohnInbox();
  m.folders.push_back(std::move(inbox));

  Folder outbox = MakeFolder(0x01000000000091c2, top, "Outbox", "IPF.Note");
  Item out = Mail(0x0100000000010101, "IPM.Note", "Wartet auf Versand", MakeFileTime(2004, 3, 5, 18, 0, 0));
  out.submit_time.reset();
  From(&out, JohnDoe());
  out.recipients = {To(MaxMustermann())};
  out.body.plain = "Noch nicht gesendet.";
  outbox.items.push_back(std::move(out));
  m.folders.push_back(std::move(outbox));

  Folder sent = MakeFolder(0x01000000000091c3, top, "Sent Items", "IPF.Note");
  Item s1 = Mail(0x9f00000000010102, "IPM.Note", "Budget 2004", MakeFileTime(2004, 1, 20, 11, 0, 0));
  From(&s1, JohnDoe());
  s1.recipients = {To(MaxMustermann()), To(AnnaBerg())};
  s1.body.plain = "Hallo Max, hallo Anna,\n\nanbei das Budget.\n\nJohn";
  s1.attachments = {File(0x0100000000020107, "Budget 2004.xls", PatternBytes(1200, 7), "application/vnd.ms-excel")};
  sent.items.push_back(std::move(s1));
  Item s2 = Mail(0x0100000000010103, "IPM.Note", "Angebot für Projekt Phoenix", MakeFileTime(2004, 1, 14, 15, 0, 0));
  From(&s2, JohnDoe());
  s2.recipients = {To(Helpdesk())};
  s2.body.html = WelcomeHtml();
  sent.items.push_back(std::move(s2));
  m.folders.push_back(std::move(sent));

  Folder deleted = MakeFolder(0x01000000000091c4, top, "Deleted Items", "IPF.Note");
  Item d1 = Mail(0x9f00000000010104, "IPM.Note", "Alte Nachricht", MakeFileTime(2003, 12, 24, 12, 0, 0));
  From(&d1, MaxMustermann());
  d1.recipients = {To(JohnDoe())};
  d1.body.plain = "Frohe Weihnachten!";
  deleted.items.push_back(std::move(d1));
  m.folders.push_back(std::move(deleted));

  Folder drafts = MakeFolder(0x01000000000091c5, top, "Drafts", "IPF.Note");
  Item draft;  // no class, no sender, no date
  draft.key = 0x0100000000010105;
  draft.subject = "Entwurf: Grüße aus Köln";
  draft.creation_time = MakeFileTime(2004, 3, 6, 20, 0, 0);
  draft.body.plain = "Liebe Grüße aus Köln …";
  drafts.items.push_back(std::move(draft));
  m.folders.push_back(std::move(drafts));

  Folder junk = MakeFolder(0x01000000000091c6, top, "Junk E-mails", "IPF.Note");
  Item spam = Mail(0x9f00000000010106, "IPM.Note", "You have WON!!!", MakeFileTime(2004, 2, 29, 3, 14, 15));
  From(&spam, Smtp("Lottery", "winner@lottery.example"));
  spam.recipients = {To(JohnDoe())};
  spam.body.html = "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">"
                   "</head><body><p>Claim your prize of 1.000.000 € now!</p></body></html>";
  spam.body.html_charset = HtmlCharset::kWindows1252;
  junk.items.push_back(std::move(spam));
  m.folders.push_back(std::move(junk));

  Folder sync = MakeFolder(0x01000000000091c7, top, "Sync Issues", "IPF.Note");
  Item log = Mail(0x0100000000010107, "IPM.Note", "Synchronisierungsprotokoll", MakeFileTime(2004, 3, 1, 7, 0, 0));
  log.body.plain = "15:22:01 Synchronisierung gestartet\n15:22:04 1 Element aktualisiert\n";
  sync.items.push_back(std::move(log));
  m.folders.push_back(std::move(sync));

  Folder calendar = MakeFolder(0x01000000000091c8, top, "Calendar", "IPF.Appointment", ContentsLayout::kDateFirst);
  calendar.items.push_back(Appointment(0x9f00000000050001, "Teambesprechung", MakeFileTime(2004, 2, 16, 9, 0, 0), 90,
                                       "Raum 4.01", "Agenda: Status, Budget, Sonstiges."));
  calendar.items.push_back(Appointment(0x0100000000050002, "Zahnarzt 🦷", MakeFileTime(2004, 2, 18, 15, 30, 0), 45,
                                       "Dr. Müller, Ehrenstraße 12", "Versichertenkarte mitnehmen."));
  m.folders.push_back(std::move(calendar));

  Folder contacts = MakeFolder(0x01000000000091c9, top, "Contacts", "IPF.Contact");
  contacts.items = JohnContacts();
  m.folders.push_back(std::move(contacts));

  Folder tasks = MakeFolder(0x01000000000091ca, top, "Tasks", "IPF.Task");
  tasks.items.push_back(Task(0x9f00000000060001, "Reisekosten abrechnen", MakeFileTime(2004, 2, 27, 17, 0, 0),
                             "Belege für Januar und Februar sammeln."));
  tasks.items.push_back(
      Task(0x0100000000060002, "Angebot Phoenix nachfassen", MakeFileTime(2004, 3, 10, 12, 0, 0), "Max anrufen."));
  m.folders.push_back(std::move(tasks));

  Folder notes = MakeFolder(0x01000000000091cb, top, "Notes", "IPF.StickyNote");
  notes.items.push_back(Note(0x9f00000000070001, "WLAN-Passwort Büro\nsteht im Schrank", MakeFileTime(2004, 1, 8, 8, 0, 0)));
  notes.items.push_back(Note(0x0100000000070002, "Geburtstag Renée: 12. April 🎂", MakeFileTime(2004, 1, 9, 9, 0, 0)));
  m.folders.push_back(std::move(notes));

  Folder journal = MakeFolder(0x01000000000091cc, top, "Journal", "IPF.Journal");
  journal.items.push_back(Journal(0x9f00000000080001, "Telefonat mit Max Mustermann", "Phone call",
                                  MakeFileTime(2004, 1, 15, 14, 0, 0), "Angebot besprochen, Rückruf Freitag."));
  journal.items.push_back(Journal(0x0100000000080002, "Quartalsbericht.doc", "Microsoft Word",
                                  MakeFileTime(2004, 1, 16, 10, 0, 0), ""));
  journal.items.back().body.plain.reset();
  m.folders.push_back(std::move(journal));

  Folder projects = MakeFolder(0x01000000000091cd, top, "Projekte – Übersicht", std::nullopt, ContentsLayout::kWide);
  projects.items = JohnProjects();
  m.folders.push_back(std::move(projects));

  // System folders of the mailbox.
  Id system_id = 0x01000000000091ce;
  for (const char* name : {"Finder", "Spooler Queue", "Views", "Common Views", "Schedule", "Shortcuts",
                           "Freebusy Data", "Deferred Action"}) {
    m.folders.push_back(MakeFolder(system_id++, top, name, std::nullopt));
  }
  return m;
}

Mailbox ReneeMailbox() {
  Mailbox m;
  m.key = kReneeKey;
  m.display_name = "Mailbox - Renée Lefèvre";
  m.legacy_dn = "/o=Contoso/ou=First Administrative Group/cn=Recipients/cn=rlefevre";
  // Identifiers of another replica: shorter texts, contents tables "1-A…".
  const Id top = 0x0005000000000a00;
  m.folders.push_back(MakeFolder(top, std::nullopt, "Top of Information Store", std::nullopt));

  Folder inbox = MakeFolder(0x0005000000000a01, top, "Inbox", "IPF.Note", ContentsLayout::kDateFirst);
  Item r1 = Mail(0x0100000000090001, "IPM.Note", "Budget 2004", MakeFileTime(2004, 1, 20, 11, 0, 5));
  From(&r1, JohnDoe());
  r1.recipients = {To(ReneeLefevre())};
  r1.body.plain = "Hallo Renée,\n\nzur Info.\n\nJohn";
  Attachment scan;  // an attachment without display name
  scan.id = 0x0100000000020201;
  scan.file_name = "scan0001.tif";
  scan.data = PatternBytes(3000, 8);
  scan.mime_type = "image/tiff";
  r1.attachments = {scan};
  inbox.items.push_back(std::move(r1));
  Item r2 = Mail(0x9f00000000090002, std::nullopt, "Déjeuner ?", MakeFileTime(2004, 1, 21, 11, 45, 0));
  From(&r2, MaxMustermann());
  r2.recipients = {To(ReneeLefevre())};
  r2.body.rtf_kind = RtfKind::kFromText;
  r2.body.rtf_source = "On se retrouve à 12 h 30 au café ? ☕";
  inbox.items.push_back(std::move(r2));
  Item r3 = Mail(0x0100000000090003, "IPM.Note", "Newsletter", MakeFileTime(2004, 2, 10, 6, 0, 1));
  From(&r3, Smtp("Fabrikam News", "news@fabrikam.com"));
  r3.recipients = {To(ReneeLefevre())};
  r3.body.html = NewsletterHtml();
  r3.body.html_charset = HtmlCharset::kWindows1252;
  inbox.items.push_back(std::move(r3));
  m.folders.push_back(std::move(inbox));

  const std::pair<Id, const char*> mail_folders[] = {{0x0005000000000a02, "Outbox"},
                                                     {0x0005000000000a03, "Sent Items"},
                                                     {0x0005000000000a04, "Deleted Items"},
                                                     {0x0005000000000a05, "Drafts"},
                                                     {0x0005000000000a06, "Junk E-mails"},
                                                     {0x0005000000000a07, "Sync Issues"}};
  for (const auto& [id, name] : mail_folders) m.folders.push_back(MakeFolder(id, top, name, "IPF.Note"));

  Folder calendar = MakeFolder(0x0005000000000a08, top, "Calendar", "IPF.Appointment");
  calendar.items.push_back(Appointment(0x9f00000000090101, "Projekt-Kickoff", MakeFileTime(2004, 2, 16, 9, 0, 0), 90,
                                       "Raum 4.01", "Vorstellung des Projekts Phoenix."));
  m.folders.push_back(std::move(calendar));
  Folder contacts = MakeFolder(0x0005000000000a09, top, "Contacts", "IPF.Contact");
  contacts.items.push_back(Contact(0x0100000000090102,
                                   {{"S82a0", "John Doe"},
                                    {"S3a11", "John"},
                                    {"S3a06", "Doe"},
                                    {"S81b0", "john.doe@contoso.com"},
                                    {"S3a08", "+1 425 555 0111"}},
                                   "John Doe"));
  m.folders.push_back(std::move(contacts));
  Folder tasks = MakeFolder(0x0005000000000a0a, top, "Tasks", "IPF.Task");
  tasks.items.push_back(Task(0x9f00000000090103, "Präsentation vorbereiten", MakeFileTime(2004, 2, 15, 18, 0, 0),
                             "Folien 1–12 überarbeiten."));
  m.folders.push_back(std::move(tasks));
  Folder notes = MakeFolder(0x0005000000000a0b, top, "Notes", "IPF.StickyNote");
  notes.items.push_back(Note(0x0100000000090104, "Café-Bestellung: 2× Espresso", MakeFileTime(2004, 2, 2, 10, 0, 0)));
  m.folders.push_back(std::move(notes));
  Folder journal = MakeFolder(0x0005000000000a0c, top, "Journal", "IPF.Journal");
  journal.items.push_back(Journal(0x9f00000000090105, "Besprechung mit John", "Meeting",
                                  MakeFileTime(2004, 2, 16, 9, 0, 0), "Kickoff vorbereitet."));
  m.folders.push_back(std::move(journal));

  Folder archive = MakeFolder(0x0005000000000a0d, top, "Archiv 2003", "IPF.Note");
  Item a1 = Mail(0x0100000000090201, "IPM.Note", "Jahresabschluss 2003", MakeFileTime(2003, 12, 30, 16, 0, 0));
  From(&a1, AnnaBerg());
  a1.recipients = {To(ReneeLefevre()), Cc(JohnDoe())};
  a1.body.plain = LongReport();
  a1.attachments = {File(0x7a00000000020202, "Abschluss.txt", "Bilanzsumme: 1.234.567 €\r\n", "text/plain")};
  archive.items.push_back(std::move(a1));
  m.folders.push_back(std::move(archive));

  m.folders.push_back(MakeFolder(0x0005000000000a0e, top, "Finder", std::nullopt));
  m.folders.push_back(MakeFolder(0x0005000000000a0f, top, "Spooler Queue", std::nullopt));
  return m;
}

// System mailboxes: a reader hides them and, with them, their folders.
std::vector<Mailbox> SystemMailboxes() {
  const std::pair<Id, const char*> names[] = {
      {0x0100000000000f01, "SMTP (EXCH01-{4F1A2B3C-5D6E-4F70-8192-A3B4C5D6E7F8})"},
      {0x2f00000000000f02, "Mailbox - SystemMailbox{9B5E5A3C-1F2D-4E6A-8B7C-0D1E2F3A4B5C}"},
      {0x0100000000000f03, "Mailbox - /o=Contoso/ou=First Administrative Group/cn=Recipients/cn=SMTP"},
      {0x0100000000000f04,
       "/o=Contoso/ou=First Administrative Group/cn=Configuration/cn=Servers/cn=EXCH01/cn=Microsoft System "
       "Attendant"},
      {0x0100000000000f05, "Mailbox - System Attendant"}};
  std::vector<Mailbox> out;
  Id folder_id = 0x0100000000000b01;
  for (const auto& [key, name] : names) {
    Mailbox m;
    m.key = key;
    m.display_name = name;
    const Id top = folder_id++;
    m.folders.push_back(MakeFolder(top, std::nullopt, "Top of Information Store", std::nullopt));
    Folder inbox = MakeFolder(folder_id++, top, "Inbox", "IPF.Note");
    if (key == 0x2f00000000000f02) {
      Item status = Mail(0x0100000000000c01, "IPM.Microsoft.ScheduleData.FreeBusy", "Status",
                         MakeFileTime(2003, 6, 2, 9, 35, 0));
      inbox.items.push_back(std::move(status));
    }
    m.folders.push_back(std::move(inbox));
    m.folders.push_back(MakeFolder(folder_id++, top, "Schedule", std::nullopt));
    out.push_back(std::move(m));
  }
  return out;
}

StoreDescription MakeSampleStore() {
  StoreDescription store;
  std::vector<Mailbox> system = SystemMailboxes();
  // Table order mixes system and user mailboxes, as real stores do.
  store.mailboxes.push_back(std::move(system[0]));
  store.mailboxes.push_back(JohnDoeMailbox());
  store.mailboxes.push_back(std::move(system[1]));
  store.mailboxes.push_back(std::move(system[2]));
  store.mailboxes.push_back(ReneeMailbox());
  store.mailboxes.push_back(std::move(system[3]));
  store.mailboxes.push_back(std::move(system[4]));

  Attachment orphan;  // a "1-23" record without identifier
  orphan.display_name = "orphan.txt";
  orphan.file_name = "orphan.txt";
  orphan.data = "This attachment belongs to no item.\r\n";
  orphan.mime_type = "text/plain";
  store.loose_attachments.push_back(std::move(orphan));
  store.plain_body_code_page = 1200;
  return store;
}

}  // namespace

const StoreDescription& SampleStore() {
  static const StoreDescription store = MakeSampleStore();
  return store;
}

void WriteSampleStore(const std::string& path, uint32_t page_size) { BuildStore(SampleStore(), page_size, path); }

}  // namespace storegen
