#include "version.h"

Version *Version::instance()
{
    static Version *version = new Version;
    return version;
}

Version::Version()
    : buildDateTime(QStringLiteral(__DATE__ " " __TIME__))
{
}

QString Version::numberText() const
{
    return QStringLiteral("%1.%2.%3").arg(majorVersion).arg(minorVersion).arg(revision);
}

QString Version::fullText() const
{
    QString text = numberText() + suffix;
    if (!buildDateTime.isEmpty())
        text += QStringLiteral("(Built %1)").arg(buildDateTime);
    return text;
}
