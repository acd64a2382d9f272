#ifndef FUZZENVIRONMENT_H
#define FUZZENVIRONMENT_H

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>

// What every fuzzing harness shares: one offscreen application whose home,
// preferences and user folder live in a temporary folder, so the real
// user's settings and stitches are never touched; message boxes answered
// as soon as they show; and the way back to the start-up state after each
// input, so that nothing grows from one input to the next.
//
// Run with YARNWISE_FUZZ_SEEDS=<folder>, a harness writes its seed corpus
// into <folder>/corpus/<harness>/ and its dictionary into
// <folder>/<harness>.dict through the program's own writers, then exits.
class FuzzEnvironment
{
public:
    // Writes the seed files and the dictionary of one harness.
    using SeedWriter = void (*)(FuzzEnvironment &seeds);

    // Makes the application; call once from LLVMFuzzerInitialize.
    static void init(int *argc, char ***argv, SeedWriter writeSeeds);

    // Writes the input into a file of the scratch folder and returns its
    // path; readers that take a path read it from there.
    static QString writeInput(const uint8_t *data, size_t size, const QString &name);
    static QByteArray bytes(const uint8_t *data, size_t size);

    // Back to the state right after init(): the catalogue loses the
    // stitches and categories that inputs brought, the user's stitch-image
    // folder the files they stored, and objects waiting for deletion go.
    static void reset();

    // A scratch file path for seed writers.
    static QString scratchPath(const QString &name);

    // Seed writing: one corpus file, and the dictionary's tokens.
    void addSeed(const QString &name, const QByteArray &bytes);
    // As a Qt 4.5 big-endian data stream writes `token`: a length
    // followed by UTF-16.
    void addStreamToken(const QString &token);
    void addPlainToken(const QByteArray &token);

private:
    FuzzEnvironment(const QDir &folder, const QString &harness);
    ~FuzzEnvironment();

    QDir m_corpus;
    QString m_dictionaryPath;
    QList<QByteArray> m_tokens;
};

#endif // FUZZENVIRONMENT_H
