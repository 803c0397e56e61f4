#pragma once
// The phone page's reads and writes through the program's views: the examinee's rows found by
// code and his answers stored one at a time, as the on-screen test stores them.
#include "phone/answer_book.h"
#include "store/row_models.h"
#include "store/view.h"

#include <memory>

namespace phone {

class StoredAnswers final : public AnswerBook {
public:
    explicit StoredAnswers(const QString& programFolder);

    store::Result readSheet(const QString& code, Sheet& sheet) override;
    store::Result storeAnswer(const QString& code, int item, const QString& response, int& answered) override;
    // The examinee's stored responses (71 codes).
    store::Result readResponses(const QString& code, QStringList& responses);

private:
    std::shared_ptr<store::Connection> examineeFile_;
    std::shared_ptr<store::Connection> settingsFile_;
    store::View answers_;    // Answer
    store::View identities_; // IDE
    store::RowListModel items_; // QUS: every item's number and text, read together
    store::View settings_;   // Theme
};

} // namespace phone
