#pragma once
// Keying a paper answer sheet: which keys an entry field takes, and what a changed entry does.
// Loaded values are told apart from typed ones by the entry mode, so filling the fields from
// the stored row is never taken as typing.
#include <QString>
#include <optional>

namespace answer_sheet {

// What a key pressed in an entry field does.
struct KeyVerdict {
    enum class Rule {
        Answer,  // a response code: "0", "1" or "2"
        Erase,   // Backspace (or Delete): the item returns to not answered
        Pass,    // moving between fields (Tab, arrows) or a bare modifier: left to the field
        Refuse,  // anything else: beep and discard
    };
    Rule rule = Rule::Refuse;
    QString code; // the response code of an Answer
};

// key: the Qt key code; text: the text the key would type. Persian and Arabic-Indic digits
// count as the Latin digits they are, since operators often type with a Persian layout.
KeyVerdict ClassifyKey(int key, const QString& text);

// The entries since the last commit are committed after this many.
constexpr int kEntriesPerCommit = 10;

class Entry {
public:
    enum class Mode { Loading, Typing };

    // What a processed change asks of the screen.
    struct Step {
        QString stored;               // the response code stored for the item ("" when erased)
        std::optional<int> focusItem; // move to this item's field and select its text
        bool commit = false;          // commit the row now (the counter has reached ten)
    };

    Mode mode() const { return mode_; }
    int counter() const { return counter_; }

    // Every keystroke in an entry field, accepted or not.
    void keystroke() { mode_ = Mode::Typing; }
    // The stored row is being shown in the fields: their changes are not entries.
    void loading() { mode_ = Mode::Loading; }
    // A new examinee: the count of entries since the last commit starts again.
    void restartCount() { counter_ = 0; }

    // The entry field of item (1 … 71) now holds text. Nothing while loading.
    std::optional<Step> fieldChanged(int item, const QString& text);

private:
    Mode mode_ = Mode::Typing;
    int counter_ = 0;
};

} // namespace answer_sheet
