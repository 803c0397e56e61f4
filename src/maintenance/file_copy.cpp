#include "maintenance/file_copy.h"
#include "maintenance/replace_file.h"
#include "store/private_files.h"

#include <QElapsedTimer>
#include <QTimer>
#include <system_error>

namespace maintenance {

FileCopier::FileCopier(QObject* parent)
    : QObject(parent)
{
}

FileCopier::~FileCopier()
{
    // Its outcome, posted to this object, goes with it; a failed copy's .part is removed there.
    if (replacing_.joinable())
        replacing_.join();
    source_.close();
    if (part_.isOpen()) {
        part_.close();
        part_.remove();
    }
}

bool FileCopier::start(const QString& source, const QString& target, std::unique_ptr<CopyTransform> transform)
{
    if (running_)
        return false;
    running_ = true;
    target_ = target;
    transform_ = std::move(transform);
    copied_ = 0;
    source_.setFileName(source);
    part_.setFileName(PartFileName(target));
    // The outcome always arrives later, as for a copy that runs.
    if (!source_.open(QIODevice::ReadOnly)) {
        const QString error = QStringLiteral("%1: %2").arg(source, source_.errorString());
        QTimer::singleShot(0, this, [this, error] { end(error); });
        return true;
    }
    total_ = source_.size();
    if (!part_.open(QIODevice::WriteOnly | QIODevice::Truncate) || !store::MakeOwnerOnly(part_)) {
        const QString error = QStringLiteral("%1: %2").arg(part_.fileName(), part_.errorString());
        QTimer::singleShot(0, this, [this, error] { end(error); });
        return true;
    }
    QTimer::singleShot(0, this, &FileCopier::copySlice);
    return true;
}

void FileCopier::copySlice()
{
    QElapsedTimer slice;
    slice.start();
    char piece[kPieceSize];
    do {
        const qint64 n = source_.read(piece, kPieceSize);
        if (n < 0) {
            end(QStringLiteral("%1: %2").arg(source_.fileName(), source_.errorString()));
            return;
        }
        if (n == 0) {
            Q_EMIT progress(copied_, total_);
            if (transform_) {
                QByteArray last;
                QString refused;
                if (!transform_->finish(last, refused)) {
                    end(refused);
                    return;
                }
                if (!writeOut(last))
                    return;
            }
            part_.close();
            if (part_.error() != QFileDevice::NoError) {
                end(QStringLiteral("%1: %2").arg(part_.fileName(), part_.errorString()));
                return;
            }
            replaceTarget();
            return;
        }
        if (transform_) {
            QByteArray out;
            QString refused;
            if (!transform_->feed(QByteArrayView(piece, n), out, refused)) {
                end(refused);
                return;
            }
            if (!writeOut(out))
                return;
        } else if (part_.write(piece, n) != n) {
            end(QStringLiteral("%1: %2").arg(part_.fileName(), part_.errorString()));
            return;
        }
        copied_ += n;
    } while (slice.nsecsElapsed() < sliceMs_ * qint64(1000000));
    Q_EMIT progress(copied_, total_);
    QTimer::singleShot(0, this, &FileCopier::copySlice);
}

bool FileCopier::writeOut(const QByteArray& bytes)
{
    if (part_.write(bytes) == bytes.size())
        return true;
    end(QStringLiteral("%1: %2").arg(part_.fileName(), part_.errorString()));
    return false;
}

void FileCopier::replaceTarget()
{
    // Flushing a copy of many megabytes to the disk takes longer than a frame: it is done beside
    // the event loop, and the outcome handed back to it.
    const QString part = part_.fileName();
    const QString target = target_;
    const auto replace = [part, target] {
        QString error = ReplaceFile(part, target);
        if (!error.isEmpty())
            QFile::remove(part);
        return error;
    };
    try {
        replacing_ = std::thread([this, replace] {
            const QString error = replace();
            QMetaObject::invokeMethod(this, [this, error] {
                replacing_.join();
                end(error);
            }, Qt::QueuedConnection);
        });
    } catch (const std::system_error&) { // no thread to be had: done here, the window waits
        end(replace());
    }
}

void FileCopier::end(const QString& error)
{
    source_.close();
    if (part_.isOpen())
        part_.close();
    if (!error.isEmpty())
        QFile::remove(part_.fileName());
    transform_.reset(); // its key material goes with it
    running_ = false;
    Q_EMIT finished(error);
}

} // namespace maintenance
