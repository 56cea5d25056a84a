// SPDX-License-Identifier: GPL-3.0-or-later

#include "library/classlist.h"

#include "library/pupilfile.h"
#include "library/textfile.h"

#include <QFile>
#include <QLoggingCategory>
#include <QSet>
#include <QStringDecoder>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcClassList, "miravellon.classlist")

namespace classlist {

namespace {

bool isUtf16(const QByteArray& bytes)
{
    return bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
}

QString decode(const QByteArray& bytes)
{
    if (isUtf16(bytes)) {
        QStringDecoder utf16(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                             QStringDecoder::Flag::Stateless);
        return utf16(bytes.sliced(2));
    }
    return textfile::decode(bytes);
}

}  // namespace

QString fileName()
{
    return QStringLiteral("alumnos.txt");
}

QStringList parse(const QByteArray& bytes, bool complete)
{
    QByteArray kept = bytes;
    if (!complete) {
        // Only whole lines: cut before decoding, so that a character split at
        // the end does not make the whole file look like another encoding.
        if (isUtf16(kept))
            kept.chop(kept.size() % 2);
        else
            kept.truncate(kept.lastIndexOf('\n') + 1);
    }
    QStringList lines = textfile::splitLines(decode(kept));
    if (!complete && isUtf16(kept) && !lines.isEmpty())
        lines.removeLast();

    QStringList names;
    QSet<QString> seen;
    for (const QString& line : std::as_const(lines)) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
            continue;
        const QString name = results::cleanName(trimmed);
        if (name.isEmpty() || seen.contains(key(name)))
            continue;
        seen.insert(key(name));
        names.append(name);
    }
    return names;
}

QStringList read(const QString& folder)
{
    const QString path = folder + u'/' + fileName();
    // Only an ordinary file: a link is not followed, and a planted pipe or
    // device is refused at once instead of being waited on.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        if (errno != ENOENT)
            qCWarning(lcClassList) << "cannot read" << path << ::strerror(errno);
        return {};
    }
    struct stat info {};
    QByteArray bytes;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        bytes.resize(MaxFileBytes + 1);
        qsizetype got = 0;
        while (got < bytes.size()) {
            const ssize_t r = ::read(fd, bytes.data() + got, size_t(bytes.size() - got));
            if (r < 0 && errno == EINTR)
                continue;
            if (r <= 0)
                break;
            got += r;
        }
        bytes.resize(got);
    } else {
        qCWarning(lcClassList) << path << "is no ordinary file";
        ::close(fd);
        return {};
    }
    ::close(fd);
    const bool complete = bytes.size() <= MaxFileBytes;
    if (!complete)
        qCWarning(lcClassList) << path << "is larger than" << MaxFileBytes << "bytes: the rest is not read";
    const QStringList names = parse(complete ? bytes : bytes.first(MaxFileBytes), complete);
    qCInfo(lcClassList) << names.size() << "names in" << path;
    return names;
}

QString key(const QString& name)
{
    const QString decomposed = name.normalized(QString::NormalizationForm_D);
    QString kept;
    kept.reserve(decomposed.size());
    for (qsizetype i = 0; i < decomposed.size(); ++i) {
        const QChar c = decomposed[i];
        // The tilde over n makes another letter, ñ; every other mark is an
        // accent.
        const bool enye = c == QChar(0x0303) && i > 0 && decomposed[i - 1].toLower() == u'n';
        if (c.category() == QChar::Mark_NonSpacing && !enye)
            continue;
        kept += c;
    }
    return kept.normalized(QString::NormalizationForm_C).toCaseFolded();
}

bool holds(const QString& name, const QString& typed)
{
    return key(name.simplified()).contains(key(typed.simplified()));
}

QString chosen(const QStringList& names, const QString& typed)
{
    const QString name = results::cleanName(typed);
    const QString wanted = key(name);
    for (const QString& listed : names) {
        if (key(listed) == wanted)
            return listed;
    }
    return name;
}

}  // namespace classlist
