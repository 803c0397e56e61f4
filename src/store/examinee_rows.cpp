#include "store/examinee_rows.h"
#include "store/view.h"

namespace store {

Result SelectByCode(View& view, const QString& code)
{
    Result r = view.refresh();
    if (r)
        r = view.setFilter(kCodeColumn, code);
    return r;
}

Result SelectOrAddResponseRow(View& answers, const QString& code)
{
    Result r = SelectByCode(answers, code);
    if (!r || answers.hasCurrent())
        return r;
    answers.addNew();
    r = answers.setValue(kCodeColumn, code);
    if (r)
        r = answers.update();
    if (r)
        r = answers.setFilter(kCodeColumn, code);
    if (r && !answers.hasCurrent())
        r = Result::failure(answers.table() + QStringLiteral(": the new row is not found"));
    return r;
}

} // namespace store
