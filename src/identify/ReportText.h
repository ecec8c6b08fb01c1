#pragma once
// Small text helpers of the item report.

#include <cstddef>
#include <string>
#include <string_view>

namespace relicor {

// The text with & < > " written as &amp; &lt; &gt; &quot;, for texts from item files, file
// names and sidecars that go into an HTML page.
std::string HtmlEscape(std::string_view text);
// Appends HtmlEscape(text) to `out`.
void AppendHtmlEscaped(std::string& out, std::string_view text);

// The first `capacity` bytes of `text`, but never ending inside a character reference that
// HtmlEscape wrote: such a broken reference is dropped whole. Without references this is
// ShortString.
std::string ShortHtml(std::string_view text, std::size_t capacity);

}  // namespace relicor
