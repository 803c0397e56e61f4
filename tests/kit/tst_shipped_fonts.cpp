// The shipped faces and the font set-up that knows only them: every face there, found in the
// build tree, and drawn with the same rendering settings as the system's set-up gives it.
#include "kit/shipped_fonts.h"
#include "support/test_registry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <fontconfig/fontconfig.h>

using namespace Qt::StringLiterals;

namespace {

// A property of a matched pattern as text ("-" when the pattern has none).
QString property(FcPattern* p, const char* object)
{
    FcValue v;
    if (FcPatternGet(p, object, 0, &v) != FcResultMatch)
        return u"-"_s;
    switch (v.type) {
    case FcTypeBool: return v.u.b ? u"true"_s : u"false"_s;
    case FcTypeInteger: return QString::number(v.u.i);
    case FcTypeDouble: return QString::number(v.u.d);
    case FcTypeMatrix: return u"%1 %2 %3 %4"_s.arg(v.u.m->xx).arg(v.u.m->xy).arg(v.u.m->yx).arg(v.u.m->yy);
    case FcTypeString: return QString::fromUtf8(reinterpret_cast<const char*>(v.u.s));
    default: return u"?"_s;
    }
}

// What the Qt font engine reads from the configuration for one face: it matches the face's
// family, file and pixel size, as here.
QString rendering(FcConfig* config, FcPattern* face, double pixelSize, bool bold)
{
    FcChar8* family = nullptr;
    FcChar8* file = nullptr;
    FcPatternGetString(face, FC_FAMILY, 0, &family);
    FcPatternGetString(face, FC_FILE, 0, &file);
    FcPattern* p = FcPatternCreate();
    FcPatternAddString(p, FC_FAMILY, family);
    FcPatternAddString(p, FC_FILE, file);
    FcPatternAddInteger(p, FC_INDEX, 0);
    FcPatternAddDouble(p, FC_PIXEL_SIZE, pixelSize);
    if (bold)
        FcPatternAddInteger(p, FC_WEIGHT, FC_WEIGHT_BOLD);
    FcConfigSubstitute(config, p, FcMatchPattern);
    FcDefaultSubstitute(p);
    FcResult result;
    FcPattern* match = FcFontMatch(config, p, &result);
    QStringList out;
    for (const char* object : {FC_HINTING, FC_HINT_STYLE, FC_AUTOHINT, FC_ANTIALIAS, FC_RGBA, FC_LCD_FILTER,
                               FC_EMBEDDED_BITMAP, FC_EMBOLDEN, FC_MATRIX, FC_FILE})
        out << QString::fromLatin1(object) + u'=' + (match ? property(match, object) : u"none"_s);
    if (match)
        FcPatternDestroy(match);
    FcPatternDestroy(p);
    return out.join(u' ');
}

// The face of a configuration whose file has this name.
FcPattern* faceNamed(FcConfig* config, const QString& name)
{
    FcFontSet* set = FcConfigGetFonts(config, FcSetSystem);
    for (int i = 0; set && i < set->nfont; ++i) {
        FcChar8* file = nullptr;
        if (FcPatternGetString(set->fonts[i], FC_FILE, 0, &file) == FcResultMatch
            && QString::fromUtf8(reinterpret_cast<const char*>(file)).endsWith(u'/' + name))
            return set->fonts[i];
    }
    return nullptr;
}

} // namespace

class TestShippedFonts : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void folderHoldsEveryFace();
    void drawnAsTheSystemDrawsThem();
};

void TestShippedFonts::folderHoldsEveryFace()
{
    // The build tree holds them (a face listed here but not copied by the build is missed).
    const QString built = fonts::FindShippedFonts(fonts::ShippedFontFolders(QCoreApplication::applicationDirPath()));
    QVERIFY(!built.isEmpty());
    // A folder that lacks one face is passed over for the next.
    QTemporaryDir partial;
    for (const QString& face : fonts::ShippedFaceFiles().mid(1))
        QVERIFY(QFile::copy(QDir(built).filePath(face), partial.filePath(face)));
    QCOMPARE(fonts::FindShippedFonts({partial.path(), built}), built);
    QCOMPARE(fonts::FindShippedFonts({partial.path()}), QString());
}

void TestShippedFonts::drawnAsTheSystemDrawsThem()
{
    const QString built = fonts::FindShippedFonts(fonts::ShippedFontFolders(QCoreApplication::applicationDirPath()));
    QVERIFY(!built.isEmpty());
    FcConfig* system = FcInitLoadConfigAndFonts();
    FcConfig* shipped = FcConfigCreate();
    const QByteArray xml = fonts::ShippedFontConfig(built);
    QVERIFY(FcConfigParseAndLoadFromMemory(shipped, reinterpret_cast<const FcChar8*>(xml.constData()), FcTrue));
    QVERIFY(FcConfigBuildFonts(shipped));
    QCOMPARE(FcConfigGetFonts(shipped, FcSetSystem)->nfont, int(fonts::ShippedFaceFiles().size()));
    for (const QString& name : fonts::ShippedFaceFiles()) {
        FcPattern* ours = faceNamed(shipped, name);
        FcPattern* theirs = faceNamed(system, name);
        QVERIFY2(ours && theirs, qPrintable(name));
        for (double pixels : {6.0, 13.0, 40.0})
            for (bool bold : {false, true})
                QCOMPARE(name + u' ' + rendering(shipped, ours, pixels, bold).section(u" file="_s, 0, 0),
                         name + u' ' + rendering(system, theirs, pixels, bold).section(u" file="_s, 0, 0));
    }
    FcConfigDestroy(shipped);
    FcConfigDestroy(system);
}

TAVORA_TEST(TestShippedFonts)
#include "tst_shipped_fonts.moc"
