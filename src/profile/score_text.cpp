#include "profile/score_text.h"
#include "scoring/leading_number.h"

namespace profile {

double ScoreNumber(const QString& text)
{
    return LeadingNumber(text).value_or(0.0);
}

} // namespace profile
