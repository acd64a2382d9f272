#ifndef VERSION_H
#define VERSION_H

#include <QString>

// The program's version, shown on the splash screen, in the About box and
// compared by the update check.
class Version
{
public:
    static Version *instance();

    // "1.5.4", then the suffix, then "(Built <date> <time>)" when known.
    QString fullText() const;
    // Just "1.5.4".
    QString numberText() const;

    qint32 majorVersion = 1;
    qint32 minorVersion = 5;
    qint32 revision = 4;
    QString suffix;
    QString buildDateTime;

private:
    Version();
};

#endif // VERSION_H
