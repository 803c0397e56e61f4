#include "maintenance/file_copy.h"
#include "maintenance/replace_file.h"
#include "store/private_files.h"

#include <QTimer>

namespace maintenance {

FileCopier::FileCopier(QObject* parent)
    : QObject(parent)
{
}

FileCopier::~FileCopier()
{
    source_.close();
    if (part_.isOpen()) {
        part_.close();
        part_.remove();
    }
}

bool FileCopier::start(const QString& source, const QString& target, Check check,
                       std::unique_ptr<CopyTransform> transform)
{
    if (running_)
        return false;
    running_ = true;
    target_ = target;
    check_ = std::move(check);
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
            if (check_) {
                if (const QString refused = check_(part_.fileName()); !refused.isEmpty()) {
                    end(refused);
                    return;
                }
            }
            end(ReplaceFile(part_.fileName(), target_));
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
    } while (slice.elapsed() < sliceMs_);
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
