// While the list keeps scanning: whether a row's module still answers, and
// what a listed module's answer does to its row. A round runs from one live
// scan to the next; the rows' own texts are compared, so a row whose
// answer did not change is left alone and never drawn again. Portable.
#ifndef KL_MODULELIST_ROW_PRESENCE_H
#define KL_MODULELIST_ROW_PRESENCE_H

#include <array>

#include "cstring.h"
#include "module_row_texts.h"

// A module that answered none of this many rounds in a row is missing.
constexpr int kRoundsToMissing = 2;

struct RowPresence {
    int roundsMissed = 0;   // rounds closed in a row without an answer
    bool answered = false;  // in the round now open
};

inline bool IsMissing(const RowPresence& presence) { return presence.roundsMissed >= kRoundsToMissing; }

// What closing a round did to a row.
enum class RoundEnd {
    kUnchanged,
    kNowMissing,  // drawn struck through from now on
    kDropped,     // a row without a MAC (the echo of the program's own request) that missed the round
};

RoundEnd CloseRound(RowPresence& presence, bool hasMac);

// The row's module answered; true when the row was missing and is to be
// drawn normally again.
bool NoteAnswer(RowPresence& presence);

// What an answer does to the row showing texts, listed in the order of
// sortColumn.
enum class AnswerChange {
    kNone,   // the same texts
    kTexts,  // other texts, the row keeps its place
    kPlace,  // another text in the sort column: the row moves to its place
};

AnswerChange ChangeOfAnswer(const char* const* shown, const std::array<CString, kModuleColumnCount>& answer,
                            int sortColumn);

#endif
