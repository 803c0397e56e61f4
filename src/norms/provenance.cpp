#include "norms/provenance.h"
#include "kit/program_version.h"
#include "norms/norm_texts.h"

namespace norms {

QString ProvenanceLine(const std::optional<NormDescription>& norm, const QString& answersCheck)
{
    QString table = texts::kNoNormTable;
    if (norm && norm->delivered)
        table = texts::kProvisionalNorm.arg(norm->name);
    else if (norm)
        // The date tells apart two tables a clinic gave the same name.
        table = norm->changed.isEmpty() ? norm->name : texts::kDatedNorm.arg(norm->name, norm->changed.left(10));
    QStringList parts{texts::kNormPart.arg(table), texts::kVersionPart.arg(ProgramVersionText())};
    if (!answersCheck.isEmpty())
        parts << texts::kCheckPart.arg(answersCheck);
    return parts.join(QStringLiteral(" — "));
}

} // namespace norms
