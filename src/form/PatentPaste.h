#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vantorel {

// What a paste into the patent field puts there. A column copied from a
// spreadsheet or a list holds one number a line (LF, CR LF or a lone CR) or
// one a cell (tab); the field is single-line, so instead of keeping only the
// first line, each run of line breaks and tabs between two numbers becomes
// the request's separator ";", and so does each end of the column that meets
// a number in the field. Blanks next to such a run go with it, so blank
// lines add no empty entries; a run at either end of the field, or next to a
// ";" already there, adds nothing. Text without a line break or tab is
// pasted unchanged. Only the patent field does this: the Settings fields keep
// cutting a paste at its first line break.
//
// Texts are the field's bytes; positions are byte offsets.
namespace PatentPaste {

// The text that replaces the selection, given the field's text before and
// after it. A window that has its own "replace the selection" (undo, caret
// placement) inserts this.
std::string replacement(std::string_view before, std::string_view pasted, std::string_view after);

struct Result {
    std::string text;   // the field's whole text after the paste
    std::size_t caret;  // just after the inserted text
};

// The whole field after `pasted` replaces current[selectionStart, selectionEnd);
// the two ends may come in either order and are kept within the text.
Result apply(std::string_view current, std::size_t selectionStart, std::size_t selectionEnd,
             std::string_view pasted);

}  // namespace PatentPaste
}  // namespace vantorel
