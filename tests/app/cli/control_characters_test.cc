// Control characters in store texts: the text output of scan, list and show
// shows them as "\xHH" (a subject must not clear the screen or set the
// terminal's title), bodies keep their lines and tabs, and --json keeps
// every character as the store has it.
#include <gtest/gtest.h>

#include <fstream>

#include "scan_list_support.h"
#include "test_support.h"

namespace {

// A store written by `edbgen json` whose names, subject and body hold escape
// sequences, a bell, DEL and a C1 control.
class ControlCharactersTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new edbtest::ScratchDir();
    const std::string description = (*dir_ / "controls.json").string();
    std::ofstream(description) << R"({
  "mailboxes": [ {
    "key": "3c00000000001001", "display_name": "Mailbox - Eve\u001b[2J",
    "folders": [
      {"id": "1000000000020a0", "display_name": "Top of Information Store"},
      {"id": "1000000000020a1", "parent": "1000000000020a0", "display_name": "Inbox\u001b]0;pwned\u0007",
       "container_class": "IPF.Note", "layout": "key_first",
       "items": [ {
         "key": "5d00000010000001", "class": "IPM.Note",
         "subject": "Hi\u001b[2J there\u009b1m\u007f",
         "sender_name": "Eve\u001b[31m",
         "sender": {"name": "Eve", "type": "SMTP", "address": "eve@x.org"},
         "submit_time": "2005-06-10T09:15:00Z",
         "body": {"plain": "line one\r\nline\ttwo\u001b]0;pwned\u0007\rover"}
       } ]
      }
    ]
  } ]
})";
    store_ = (*dir_ / "controls.edb").string();
    std::string out;
    ASSERT_EQ(edbtest::RunCommand(edbtest::Program("edbgen").string() + " json '" + description + "' '" + store_ +
                                      "' 2>&1",
                                  &out),
              0)
        << out;
  }
  static void TearDownTestSuite() { delete dir_; }

  static std::string Run(const std::string& arguments) {
    int code = -1;
    const std::string out = clitest::Edbrecover(arguments, &code);
    EXPECT_EQ(code, 0) << arguments;
    return out;
  }

  // Whether `text` holds a byte of a C0 control other than tab and line
  // feed, DEL, or a C1 control in UTF-8 (U+0080 to U+009F: C2 80 to C2 9F).
  static bool HoldsControls(const std::string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
      const unsigned char byte = static_cast<unsigned char>(text[i]);
      if ((byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r') || byte == 0x7F) return true;
      if (byte == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) <= 0x9F) return true;
    }
    return false;
  }

  static edbtest::ScratchDir* dir_;
  static std::string store_;
};

edbtest::ScratchDir* ControlCharactersTest::dir_ = nullptr;
std::string ControlCharactersTest::store_;

TEST_F(ControlCharactersTest, TextOutputShowsControlsEscaped) {
  const std::string scan = Run("scan '" + store_ + "'");
  EXPECT_FALSE(HoldsControls(scan)) << scan;
  EXPECT_NE(scan.find("  Mailbox - Eve\\x1b[2J  (key 3c00000000001001)\n"), std::string::npos) << scan;
  EXPECT_NE(scan.find("    Inbox\\x1b]0;pwned\\x07  [IPF.Note, 1-20A1]\n"), std::string::npos) << scan;

  const std::string list = Run("list '" + store_ + "' 1-20A1");
  EXPECT_FALSE(HoldsControls(list)) << list;
  EXPECT_TRUE(list.starts_with("Inbox\\x1b]0;pwned\\x07  [IPF.Note]  1 rows\n")) << list;
  EXPECT_NE(list.find("Eve\\x1b[31m;Eve<eve@x.org>"), std::string::npos) << list;
  EXPECT_NE(list.find("Hi\\x1b[2J there\\x9b1m\\x7f"), std::string::npos) << list;

  const std::string show = Run("show '" + store_ + "' 1-20A1 5d00000010000001");
  EXPECT_FALSE(HoldsControls(show.substr(0, show.find("\nline one")))) << show;
  EXPECT_NE(show.find("From:        Eve\\x1b[31m;Eve<eve@x.org>\n"), std::string::npos) << show;
  EXPECT_NE(show.find("Subject:     Hi\\x1b[2J there\\x9b1m\\x7f\n"), std::string::npos) << show;
  // The body keeps its Windows line end and its tab; a lone carriage return,
  // which would let "over" overwrite the line, is shown.
  EXPECT_TRUE(show.ends_with("\nline one\r\nline\ttwo\\x1b]0;pwned\\x07\\x0dover\n")) << show;
}

TEST_F(ControlCharactersTest, JsonKeepsEveryCharacter) {
  const nlohmann::json scan = nlohmann::json::parse(Run("scan --json '" + store_ + "'"));
  EXPECT_EQ(scan["mailboxes"][0]["name"], "Mailbox - Eve\x1b[2J");
  EXPECT_EQ(scan["mailboxes"][0]["folders"][0]["name"], "Inbox\x1b]0;pwned\x07");
  const nlohmann::json list = nlohmann::json::parse(Run("list --json '" + store_ + "' 1-20A1"));
  EXPECT_EQ(list["folder"], "Inbox\x1b]0;pwned\x07");
  EXPECT_EQ(list["rows"][0][4], "Hi\x1b[2J there\u009b1m\x7f");
  const nlohmann::json show = nlohmann::json::parse(Run("show --json '" + store_ + "' 1-20A1 5d00000010000001"));
  EXPECT_EQ(show["subject"], "Hi\x1b[2J there\u009b1m\x7f");
  EXPECT_EQ(show["body"], "line one\r\nline\ttwo\x1b]0;pwned\x07\rover");
}

}  // namespace
