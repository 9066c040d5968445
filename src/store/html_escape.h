// Store texts placed into generated HTML pages (the contact, appointment,
// journal and task previews) are escaped, so a subject like "<script>" or
// "<img src=...>" shows as the text it is instead of becoming markup.
#pragma once

#include <string>
#include <string_view>

namespace edb {

// `text` with &, <, >, " and ' replaced by their character references.
std::u16string HtmlEscaped(std::u16string_view text);

}  // namespace edb
