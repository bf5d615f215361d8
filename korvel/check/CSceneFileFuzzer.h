#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>

class QRandomGenerator;

namespace KV {

class CSceneModel;

/// Corrupted scene files for the scene loader: truncation, flipped bytes, members of the wrong
/// type, references to nodes that are not in the file, parents that lead back to the node,
/// huge numbers and deep nesting, alone or two at a time. Every variant must either load or be
/// refused with an error that names the file, the object and the problem, and a refused one
/// must leave the open scene, its undo history and its previews exactly as they were.
class CSceneFileFuzzer
{
public:
    struct CVariant
    {
        QByteArray data;
        /// What was done to the file, for the report.
        QString kind;
        /// A node id the error must name when the variant is refused; empty when any object
        /// will do.
        QString mustMention;
    };

    explicit CSceneFileFuzzer(QRandomGenerator& random);

    /// One corruption of a valid scene file.
    CVariant MakeVariant(const QByteArray& validFile);

    /// Offers `count` variants of one scene file to a scene that holds another, and returns one
    /// line per variant that was handled wrongly. Variant n of a seed is the same on every
    /// run.
    static QStringList Run(std::uint32_t seed, int count);

    /// Loads one variant into `scene`; returns what was wrong with the way it was handled.
    /// `loaded`, when given, tells whether the variant replaced the scene.
    static QStringList Offer(CSceneModel& scene, const CVariant& variant, const QString& source,
                             bool* loaded = nullptr);

private:
    QByteArray Truncate(const QByteArray& file);
    QByteArray FlipBytes(const QByteArray& file);
    CVariant WrongType(const QByteArray& file);
    CVariant Dangling(const QByteArray& file);
    CVariant Cycle(const QByteArray& file);
    CVariant HugeNumber(const QByteArray& file);
    QByteArray DeepNesting(const QByteArray& file);

    QRandomGenerator& m_random;
};

} // namespace KV
