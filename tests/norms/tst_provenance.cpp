// Where the scores came from, on every output of one examinee's profile: the line under the chart,
// the printed report (as a real PDF read back), the Word document and the group workbook's row;
// and the line changes with the norm table in use.
#include "examinees/answers_check.h"
#include "group/group_results.h"
#include "norms/norm_library.h"
#include "profile/profile_export.h"
#include "profile/profile_screen.h"
#include "reports/report_painter.h"
#include "reports/report_preview.h"
#include "reports/report_texts.h"
#include "store/schema.h"
#include "support/test_env.h"
#include "support/test_registry.h"

#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <quazip.h>
#include <quazipfile.h>

using namespace Qt::StringLiterals;

namespace {

const QString kCode = u"1024"_s;
const QString kTable = u"EvabaliniDJMIR"_s;

QStringList responses()
{
    return QStringList(store::kItemCount, u"2"_s);
}

// What each output carries, for the examinee as the profile screen opens now.
struct Outputs {
    QString result; // the profile result's line
    QString screen;
    QString pdf;
    QString docx;
    QString group;
};

Outputs outputsOf(TestEnv& env, const QString& folder)
{
    Outputs out;
    const examinees::ExamineeRecord examinee{.code = kCode, .givenName = u"علي"_s, .familyName = u"احمدي"_s,
                                             .sex = u"مرد"_s, .age = u"30"_s, .maritalStatus = u"مجرد"_s,
                                             .education = u"دانشگاهي"_s, .group = u"A"_s, .date = u"1403/07/21"_s,
                                             .time = {}, .interpretation = {}, .responses = responses()};
    FrmNemudar screen(env.ctx, examinee);
    auto* exporter = new ProfileExport(env.ctx, screen);
    exporter->setDocumentsFolder(folder);
    QSignalSpy ready(&screen, &FrmNemudar::profileReady);
    screen.show();
    screen.activateWindow();
    if (!ready.wait(3000))
        return out;
    out.result = screen.result().provenance;
    out.screen = screen.provenanceLine->text();

    QSignalSpy finished(exporter, &ProfileExport::finished);
    screen.Command3->click();
    if (finished.wait(3000) && exporter->preview()) {
        const QByteArray pdf = reports::RenderReportPdf(exporter->preview()->pages(), u"report"_s);
        const QString path = folder + u"/report.pdf"_s;
        QFile file(path);
        if (file.open(QIODevice::WriteOnly) && file.write(pdf) == pdf.size()) {
            file.close();
            QProcess text;
            text.start(u"pdftotext"_s, {path, u"-"_s});
            text.waitForFinished(30000);
            out.pdf = QString::fromUtf8(text.readAllStandardOutput());
        }
        delete exporter->preview();
    }
    screen.Cmdword->click();
    if (finished.wait(3000)) {
        QuaZip zip(folder + u"/"_s + reports::texts::kWordFileName);
        if (zip.open(QuaZip::mdUnzip) && zip.setCurrentFile(u"word/document.xml"_s)) {
            QuaZipFile part(&zip);
            if (part.open(QIODevice::ReadOnly))
                out.docx = QString::fromUtf8(part.readAll());
        }
    }
    profile::NormTableCache norms(env.path(store::kNormsFile), [](const QString&) { return QString(); });
    out.group = group::ComputeGroupResult(examinee, norms.tables()).provenance;
    screen.close();
    return out;
}

} // namespace

class TestProvenance : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyOutputNamesTheNormTableInUse()
    {
        if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
            QSKIP("poppler-utils is not installed");
        TestEnv env;
        QTemporaryDir folder;
        QVERIFY(testing_support::addExaminee(env.folder(), kCode, responses(),
                                             {{u"Jens"_s, u"مرد"_s}, {u"Tahsil"_s, u"دانشگاهي"_s}}));
        const QString check = examinees::AnswersCheckCode(responses());

        const Outputs delivered = outputsOf(env, folder.path());
        QVERIFY2(delivered.result.contains(u"نرم همراه برنامه (موقت)"_s), qPrintable(delivered.result));
        QVERIFY(delivered.result.contains(check));

        // A table of the clinic's (named in Latin letters, which the PDF gives back whole).
        norms::NormTableData clinic{kTable, {u"Clinic-1403"_s, u"نمونه کلينيک"_s, u"1403/08/01 09:00"_s, false},
                                    norms::DeliveredValues(kTable)};
        clinic.values[0][0] = u"31"_s;
        QStringList replaced;
        QVERIFY(norms::ReplaceNormTables(env.path(store::kNormsFile), {clinic}, replaced));
        const Outputs clinics = outputsOf(env, folder.path());
        QVERIFY2(clinics.result.contains(u"Clinic-1403"_s), qPrintable(clinics.result));
        QVERIFY(!clinics.result.contains(u"موقت"_s));
        QVERIFY(clinics.result.contains(check));

        for (const Outputs* o : {&delivered, &clinics}) {
            QCOMPARE(o->screen, o->result);
            QCOMPARE(o->group, o->result);
            QVERIFY2(o->docx.contains(o->result.toHtmlEscaped()), qPrintable(o->result));
            QVERIFY2(o->pdf.contains(check), qPrintable(o->pdf));
            QCOMPARE(o->pdf.contains(u"Clinic-1403"_s), o == &clinics);
        }
    }
};

TAVORA_TEST(TestProvenance)
#include "tst_provenance.moc"
