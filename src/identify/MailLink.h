#pragma once
// The request link that opens an item's rows on a page: a mail to the keeper whose subject names
// the item's file.

#include <cstddef>
#include <string>
#include <string_view>

#include "text/ByteText.h"

namespace relicor {

// The subject as it stands in the link: `%`, `&`, `#` and control bytes, which would end the
// subject or split the address, written as %XX (capital hex digits); then HTML-escaped (& < > ").
// Every other byte stays as it is.
std::string MailSubjectText(std::string_view subject);

// The link's rest after the mail address, as one line:
//   ?subject=Itempool-{path}">{NAME}:</A></B></TD>
// `pagePath` is the item's path as the page names it, `shownName` the item's name as shown (it is
// HTML-escaped here). The line holds at most `capacity` characters: a longer one loses the end of
// the subject's text, never a %XX or a character reference and never the markup, so the link
// always closes and shows its item (a name too long for the line even without a subject is cut
// likewise).
std::string MailLinkTail(std::string_view pagePath, std::string_view shownName,
                         std::size_t capacity = kTextCapacity);
// The same, appended to `out`.
void AppendMailLinkTail(std::string& out, std::string_view pagePath, std::string_view shownName,
                        std::size_t capacity = kTextCapacity);

}  // namespace relicor
