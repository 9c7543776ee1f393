#include "row_presence.h"

#include <cstring>

RoundEnd CloseRound(RowPresence& presence, bool hasMac) {
    const bool answered = presence.answered;
    presence.answered = false;
    if (answered) {
        presence.roundsMissed = 0;
        return RoundEnd::kUnchanged;
    }
    if (!hasMac) return RoundEnd::kDropped;
    ++presence.roundsMissed;
    return presence.roundsMissed == kRoundsToMissing ? RoundEnd::kNowMissing : RoundEnd::kUnchanged;
}

bool NoteAnswer(RowPresence& presence) {
    const bool wasMissing = IsMissing(presence);
    presence.answered = true;
    presence.roundsMissed = 0;
    return wasMissing;
}

AnswerChange ChangeOfAnswer(const char* const* shown, const std::array<CString, kModuleColumnCount>& answer,
                            int sortColumn) {
    AnswerChange change = AnswerChange::kNone;
    for (int column = 0; column < kModuleColumnCount; ++column) {
        if (std::strcmp(shown[column], answer[static_cast<std::size_t>(column)]) == 0) continue;
        if (column == sortColumn) return AnswerChange::kPlace;
        change = AnswerChange::kTexts;
    }
    return change;
}
