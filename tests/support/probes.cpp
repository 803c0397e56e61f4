#include "support/probes.h"

#include <QAbstractItemModel>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QListView>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace testing_support {

namespace {

qint64 statusKiB(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

} // namespace

QStringList ListedByFileDialog(const QString& filter, const QStringList& files)
{
    QTemporaryDir dir;
    for (const QString& name : files) {
        QFile f(dir.filePath(name));
        if (!f.open(QIODevice::WriteOnly))
            return {QStringLiteral("(cannot make %1)").arg(name)};
    }
    QFileDialog dialog(nullptr, QString(), dir.path(), filter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    auto* model = dialog.findChild<QFileSystemModel*>();
    auto* view = dialog.findChild<QListView*>(QStringLiteral("listView"));
    if (!model || !view)
        return {QStringLiteral("(no file list)")};
    QSignalSpy loaded(model, &QFileSystemModel::directoryLoaded);
    // What the user can pick: rows the filter leaves enabled (a filter may grey out instead of hide).
    // The model lists the folder in a thread of its own: wait until it has.
    QStringList listed;
    auto list = [&] {
        listed.clear();
        const QAbstractItemModel* shown = view->model();
        for (int row = 0; row < shown->rowCount(view->rootIndex()); ++row) {
            const QModelIndex index = shown->index(row, 0, view->rootIndex());
            if (shown->flags(index) & Qt::ItemIsEnabled)
                listed << index.data().toString();
        }
        return !listed.isEmpty() && !loaded.isEmpty();
    };
    (void)QTest::qWaitFor(list, 5000); // after the wait the listing is what it is, empty or not
    listed.sort();
    return listed;
}

Fifo::Fifo(const QString& path)
    : path_(QFile::encodeName(path))
{
    valid_ = ::mkfifo(path_.constData(), 0600) == 0;
    if (!valid_)
        return;
    releaser_ = std::thread([this] {
        using namespace std::chrono_literals;
        while (!done_) {
            // Opening for writing succeeds only while a reader waits; closing at once gives it EOF.
            const int fd = ::open(path_.constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                readerCame_ = true;
                ::close(fd);
            }
            std::this_thread::sleep_for(5ms);
        }
    });
}

Fifo::~Fifo()
{
    done_ = true;
    if (releaser_.joinable())
        releaser_.join();
    if (valid_)
        ::unlink(path_.constData());
}

void Cost::start()
{
    // Writing 5 to clear_refs resets the peak (VmHWM) to the memory in use now.
    QFile reset(QStringLiteral("/proc/self/clear_refs"));
    if (reset.open(QIODevice::WriteOnly))
        reset.write("5");
    reset.close();
    startKiB_ = statusKiB("VmRSS:");
}

qint64 Cost::peakGrowthMiB() const
{
    return (statusKiB("VmHWM:") - startKiB_) / 1024;
}

} // namespace testing_support
