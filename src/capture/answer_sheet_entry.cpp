#include "capture/answer_sheet_entry.h"
#include "capture/item_counter.h"

#include <Qt>

namespace answer_sheet {

namespace {

// "0", "1" or "2" for the digit keys of any script, empty otherwise.
QString responseCode(const QString& text)
{
    if (text.size() != 1)
        return QString();
    const char16_t u = text.at(0).unicode();
    for (const char16_t zero : {u'0', char16_t(0x06F0), char16_t(0x0660)})
        if (u >= zero && u <= zero + 2)
            return QString(QChar(u'0' + (u - zero)));
    return QString();
}

} // namespace

KeyVerdict ClassifyKey(int key, const QString& text)
{
    if (key == Qt::Key_Backspace || key == Qt::Key_Delete)
        return {KeyVerdict::Rule::Erase, QString()};
    if (const QString code = responseCode(text); !code.isEmpty())
        return {KeyVerdict::Rule::Answer, code};
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab)
        return {KeyVerdict::Rule::Pass, QString()};
    if (text.isEmpty()) // arrows, Home, End, modifiers, function keys: they type nothing
        return {KeyVerdict::Rule::Pass, QString()};
    return {KeyVerdict::Rule::Refuse, QString()};
}

std::optional<Entry::Step> Entry::fieldChanged(int item, const QString& text)
{
    if (mode_ == Mode::Loading || item < 1 || item > kItemCount)
        return std::nullopt;
    Step step;
    if (text.isEmpty()) {
        mode_ = Mode::Loading; // the stored response changes; no keystroke follows it here
        return step;
    }
    if (text != QLatin1String("0") && text != QLatin1String("1") && text != QLatin1String("2"))
        return std::nullopt; // only a response code is ever stored
    step.stored = text;
    mode_ = Mode::Typing; // storing changes the response field; the operator goes on typing
    if (item < kItemCount) {
        step.focusItem = item + 1;
        if (++counter_ >= kEntriesPerCommit) {
            step.commit = true;
            counter_ = 0;
        }
    }
    return step;
}

} // namespace answer_sheet
