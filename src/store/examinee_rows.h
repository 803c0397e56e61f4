#pragma once
// An examinee's rows, found by code the one way every screen finds them.
#include "store/result.h"

#include <QString>

namespace store {

class View;

// The column that holds the examinee code in IDE, Answer and the stored score rows.
inline const QString kCodeColumn = QStringLiteral("Code");

// Reads the view's table again (other screens may have stored rows since) and narrows it to
// the rows of the code; the first of them, if any, is current.
Result SelectByCode(View& view, const QString& code);

// As SelectByCode on a view of Answer, adding the examinee's empty response row when he has
// none, so a registered examinee can always be given responses. Afterwards a row is current.
Result SelectOrAddResponseRow(View& answers, const QString& code);

} // namespace store
