// Typed numbers: the prompt naming the fields and their ranges, the typing, and the numbers
// taken into the level or refused with the field that is wrong.
#include "editor/editorform.h"
#include "editor/numbers.h"
#include "platform/api/cursor.h"

namespace {

// Longer than any seven numbers of their fields, with spaces.
constexpr std::size_t kMaxTyping = 80;

}  // namespace

std::span<const editor::NumberField> TLevelEditor::EntryFields() const {
    switch (entry_) {
        case Entry::Gull:
            return editor::kGullFields;
        case Entry::MaxBombs:
            return editor::kMaxBombs;
        case Entry::BazzleVisits:
            return editor::kBazzleVisits;
        case Entry::EggCount:
            return editor::kEggCount;
        case Entry::None:
            break;
    }
    return {};
}

std::string TLevelEditor::EntryPrompt() const {
    std::string prompt = entry_ == Entry::Gull ? "Gull " : "";
    prompt.append(editor::NamesOf(EntryFields())).append(": ").append(typing_).append("_");
    return prompt;
}

void TLevelEditor::StartEntry(Entry entry) {
    std::string start;
    switch (entry) {
        case Entry::Gull:
            if (state_.Selected < 0) {
                message_ = "Select a gull first";
                return;
            }
            start = editor::GullNumbers(Level().Gulls[static_cast<std::size_t>(state_.Selected)]);
            break;
        case Entry::MaxBombs:
            start = std::to_string(Level().MaxBombs);
            break;
        case Entry::BazzleVisits:
            start = std::to_string(Level().BazzleVisits);
            break;
        case Entry::EggCount:
            start = std::to_string(Level().EggCount);
            break;
        case Entry::None:
            return;
    }
    entry_ = entry;
    typing_ = start;
    message_.clear();
    platform::SetTextEntry(true);
}

void TLevelEditor::TypeChar(unsigned char code) {
    switch (code) {
        case 27:
            entry_ = Entry::None;
            typing_.clear();
            platform::SetTextEntry(false);
            message_ = "Typing cancelled";
            return;
        case 13:
            FinishEntry();
            return;
        case 8:
            if (!typing_.empty()) {
                typing_.pop_back();
            }
            return;
        default:
            break;
    }
    // Whatever is typed shows; what is not a number is refused, by name, at Enter.
    if (code >= ' ' && code < 0x7F && typing_.size() < kMaxTyping) {
        typing_.push_back(static_cast<char>(code));
    }
}

void TLevelEditor::FinishEntry() {
    editor::TypedNumbers typed = editor::ReadTyped(typing_, EntryFields());
    const std::vector<std::int32_t>& n = typed.Values;
    if (typed.Problem.empty() && entry_ == Entry::Gull && n[5] > n[6]) {
        typed.Problem = "Not taken: MinY must not be greater than MaxY";
    }
    if (!typed.Problem.empty()) {
        message_ = typed.Problem;
        return;
    }
    const Entry entry = entry_;
    entry_ = Entry::None;
    typing_.clear();
    platform::SetTextEntry(false);
    message_.clear();
    Change([&](editor::EditState& state) {
        editor::EditLevel& level = state.Levels[static_cast<std::size_t>(state.Level)];
        switch (entry) {
            case Entry::Gull:
                level.Gulls[static_cast<std::size_t>(state.Selected)] =
                    TZNGull{n[0], n[1], n[2], n[3], n[4], n[5], n[6]};
                break;
            case Entry::MaxBombs:
                level.MaxBombs = n[0];
                break;
            case Entry::BazzleVisits:
                level.BazzleVisits = n[0];
                break;
            case Entry::EggCount:
                level.EggCount = n[0];
                break;
            case Entry::None:
                break;
        }
    });
}
