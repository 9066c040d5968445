// The status pages shown in the preview while long work runs: HTML fragments
// the window writes to its page file and displays.
#pragma once

#include <string_view>

namespace edb::status_page {

inline constexpr std::u16string_view kRecoveryStarted =
    u"<div align=\"center\"><p><img src=\"loading.gif\" width=\"100\" height=\"100\" /></p>"
    u"<h1 >Recovery Started! Please wait for completion...</h1></div>";

inline constexpr std::u16string_view kScanCompleted =
    u"<div align=\"center\"><p><img src=\"done.gif\" width=\"100\" height=\"100\" /></p>"
    u"<h1 >Scaning process completed...</h1></div>";

inline constexpr std::u16string_view kScanAborted =
    u"<div align=\"center\"><p><img src=\"cancel.gif\"/></p><h1 >Scaning Aborted by user...</h1></div>";

// Shown when the chosen file cannot be opened as a database.
inline constexpr std::u16string_view kScanFailed =
    u"<div align=\"center\"><p><img src=\"cancel.gif\"/></p>"
    u"<h1 >The selected file could not be opened as an Exchange database.</h1></div>";

inline constexpr std::u16string_view kSavingAborted = u"<div align=\"center\"><h1 >Saving Aborted by user...</h1></div>";

}  // namespace edb::status_page
