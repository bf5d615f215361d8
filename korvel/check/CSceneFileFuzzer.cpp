#include "CSceneFileFuzzer.h"

#include "CCrashNote.h"
#include "CMessageWatch.h"
#include "CSceneGenerator.h"
#include "KVSceneModel.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QUndoStack>

namespace KV {

namespace {

const QVector<QJsonValue> kOtherValues = {QJsonValue(QStringLiteral("text")),
                                          QJsonValue(12.5),
                                          QJsonValue(true),
                                          QJsonValue(),
                                          QJsonValue(QJsonArray{1, 2}),
                                          QJsonValue(QJsonObject{{QStringLiteral("a"), 1}}),
                                          QJsonValue(3)};

const QVector<QJsonValue> kHugeValues = {QJsonValue(1e300),
                                         QJsonValue(9007199254740993.0),
                                         QJsonValue(-1),
                                         QJsonValue(0),
                                         QJsonValue(2.5),
                                         QJsonValue(4294967296.0),
                                         QJsonValue(-2147483649.0),
                                         QJsonValue(1e20),
                                         QJsonValue(2147483648.0),
                                         QJsonValue(1e9 + 1),
                                         QJsonValue(-1e300),
                                         QJsonValue(1e19)};

QJsonObject Root(const QByteArray& file)
{
    return QJsonDocument::fromJson(file).object();
}

QByteArray Text(const QJsonObject& root)
{
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

qint64 MaxId(const QJsonArray& nodes)
{
    qint64 maxId = 0;
    for (const QJsonValue& node : nodes)
        maxId = qMax(maxId,
                     static_cast<qint64>(node.toObject().value(QStringLiteral("id")).toDouble()));
    return maxId;
}

} // namespace

CSceneFileFuzzer::CSceneFileFuzzer(QRandomGenerator& random)
    : m_random(random)
{}

CSceneFileFuzzer::CVariant CSceneFileFuzzer::MakeVariant(const QByteArray& validFile)
{
    CVariant variant;
    switch (m_random.bounded(7)) {
    case 0:
        variant = {Truncate(validFile), QStringLiteral("truncated"), QString()};
        break;
    case 1:
        variant = {FlipBytes(validFile), QStringLiteral("flipped bytes"), QString()};
        break;
    case 2:
        variant = WrongType(validFile);
        break;
    case 3:
        variant = Dangling(validFile);
        break;
    case 4:
        variant = Cycle(validFile);
        break;
    case 5:
        variant = HugeNumber(validFile);
        break;
    default:
        variant = {DeepNesting(validFile), QStringLiteral("deep nesting"), QString()};
        break;
    }
    if (m_random.bounded(100) < 15) {
        // A second, byte-level corruption on top: the named problem may then be another one.
        variant.data = m_random.bounded(2) == 0 ? Truncate(variant.data) : FlipBytes(variant.data);
        variant.kind += m_random.bounded(2) == 0 ? QStringLiteral(", then truncated")
                                                 : QStringLiteral(", then flipped bytes");
        variant.mustMention.clear();
    }
    return variant;
}

QByteArray CSceneFileFuzzer::Truncate(const QByteArray& file)
{
    if (file.isEmpty())
        return file;
    return file.left(static_cast<int>(m_random.bounded(file.size())));
}

QByteArray CSceneFileFuzzer::FlipBytes(const QByteArray& file)
{
    QByteArray flipped = file;
    if (flipped.isEmpty())
        return flipped;
    const int flips = 1 + static_cast<int>(m_random.bounded(8));
    for (int i = 0; i < flips; ++i) {
        const int at = static_cast<int>(m_random.bounded(flipped.size()));
        flipped[at] = static_cast<char>(flipped.at(at) ^ (1 + m_random.bounded(255)));
    }
    return flipped;
}

CSceneFileFuzzer::CVariant CSceneFileFuzzer::WrongType(const QByteArray& file)
{
    QJsonObject root = Root(file);
    const QJsonValue value =
        kOtherValues.at(static_cast<int>(m_random.bounded(kOtherValues.size())));
    QJsonArray nodes = root.value(QStringLiteral("nodes")).toArray();
    QString where;
    if (nodes.isEmpty() || m_random.bounded(3) == 0) {
        const QStringList members = {QStringLiteral("format"),       QStringLiteral("version"),
                                     QStringLiteral("nodes"),        QStringLiteral("currentTime"),
                                     QStringLiteral("camera"),       QStringLiteral("selection"),
                                     QStringLiteral("standardNames")};
        where = members.at(static_cast<int>(m_random.bounded(members.size())));
        root.insert(where, value);
    } else {
        const int index = static_cast<int>(m_random.bounded(nodes.size()));
        QJsonObject node = nodes.at(index).toObject();
        const QStringList members = {QStringLiteral("id"),           QStringLiteral("name"),
                                     QStringLiteral("parent"),       QStringLiteral("objectType"),
                                     QStringLiteral("nodeKind"),     QStringLiteral("linkable"),
                                     QStringLiteral("linkBlocked"),  QStringLiteral("owner"),
                                     QStringLiteral("ownerRoot"),    QStringLiteral("linkKeys"),
                                     QStringLiteral("transformKeys")};
        where = QStringLiteral("node entry %1's ").arg(index) +
                members.at(static_cast<int>(m_random.bounded(members.size())));
        node.insert(where.section(QLatin1Char(' '), -1), value);
        nodes.replace(index, node);
        root.insert(QStringLiteral("nodes"), nodes);
    }
    return {Text(root), QStringLiteral("wrong type at %1").arg(where), QString()};
}

CSceneFileFuzzer::CVariant CSceneFileFuzzer::Dangling(const QByteArray& file)
{
    QJsonObject root = Root(file);
    QJsonArray nodes = root.value(QStringLiteral("nodes")).toArray();
    const qint64 missing = MaxId(nodes) + 1 + m_random.bounded(1000);
    const QJsonValue id(static_cast<double>(missing));
    const int choice = nodes.isEmpty() ? 0 : static_cast<int>(m_random.bounded(6));
    QString where;
    if (choice == 0) {
        root.insert(QStringLiteral("camera"), id);
        where = QStringLiteral("camera");
    } else if (choice == 1) {
        QJsonArray selection = root.value(QStringLiteral("selection")).toArray();
        selection.append(id);
        root.insert(QStringLiteral("selection"), selection);
        where = QStringLiteral("selection");
    } else {
        const int index = static_cast<int>(m_random.bounded(nodes.size()));
        QJsonObject node = nodes.at(index).toObject();
        if (choice == 5) {
            QJsonArray keys = node.value(QStringLiteral("linkKeys")).toArray();
            keys.append(QJsonObject{
                {QStringLiteral("time"), 100000 + static_cast<int>(m_random.bounded(1000))},
                {QStringLiteral("parent"), id}});
            node.insert(QStringLiteral("linkKeys"), keys);
            where = QStringLiteral("a link key");
        } else {
            const QStringList members = {QStringLiteral("parent"), QStringLiteral("owner"),
                                         QStringLiteral("ownerRoot")};
            where = members.at(choice - 2);
            node.insert(where, id);
        }
        nodes.replace(index, node);
        root.insert(QStringLiteral("nodes"), nodes);
    }
    return {Text(root), QStringLiteral("%1 names the missing node %2").arg(where).arg(missing),
            QString::number(missing)};
}

CSceneFileFuzzer::CVariant CSceneFileFuzzer::Cycle(const QByteArray& file)
{
    QJsonObject root = Root(file);
    QJsonArray nodes = root.value(QStringLiteral("nodes")).toArray();
    if (nodes.isEmpty())
        return {Truncate(file), QStringLiteral("truncated"), QString()};
    const int a = static_cast<int>(m_random.bounded(nodes.size()));
    const int b = static_cast<int>(m_random.bounded(nodes.size()));
    QJsonObject nodeA = nodes.at(a).toObject();
    QJsonObject nodeB = nodes.at(b).toObject();
    const QJsonValue idA = nodeA.value(QStringLiteral("id"));
    const QJsonValue idB = nodeB.value(QStringLiteral("id"));
    QString kind;
    if (m_random.bounded(2) == 0) {
        nodeA.insert(QStringLiteral("parent"), idB);
        if (a != b)
            nodeB.insert(QStringLiteral("parent"), idA);
        kind = QStringLiteral("structural parents in a cycle");
    } else {
        const int time = static_cast<int>(m_random.bounded(50));
        nodeA.insert(QStringLiteral("linkKeys"),
                     QJsonArray{QJsonObject{{QStringLiteral("time"), time},
                                            {QStringLiteral("parent"), idB}}});
        if (a != b)
            nodeB.insert(QStringLiteral("linkKeys"),
                         QJsonArray{QJsonObject{{QStringLiteral("time"), time},
                                                {QStringLiteral("parent"), idA}}});
        kind = QStringLiteral("link parents in a cycle");
    }
    nodes.replace(a, nodeA);
    if (a != b)
        nodes.replace(b, nodeB);
    root.insert(QStringLiteral("nodes"), nodes);
    return {Text(root), kind, QString()};
}

CSceneFileFuzzer::CVariant CSceneFileFuzzer::HugeNumber(const QByteArray& file)
{
    QJsonObject root = Root(file);
    QJsonArray nodes = root.value(QStringLiteral("nodes")).toArray();
    const QJsonValue value = kHugeValues.at(static_cast<int>(m_random.bounded(kHugeValues.size())));
    QString where;
    const int choice = nodes.isEmpty() ? 0 : static_cast<int>(m_random.bounded(6));
    if (choice == 0) {
        where =
            m_random.bounded(2) == 0 ? QStringLiteral("currentTime") : QStringLiteral("version");
        root.insert(where, value);
    } else {
        const int index = static_cast<int>(m_random.bounded(nodes.size()));
        QJsonObject node = nodes.at(index).toObject();
        if (choice == 1) {
            where = QStringLiteral("id");
            node.insert(where, value);
        } else if (choice == 2) {
            where = m_random.bounded(2) == 0 ? QStringLiteral("objectType")
                                             : QStringLiteral("nodeKind");
            node.insert(where, value);
        } else if (choice == 3) {
            where = QStringLiteral("link key time");
            node.insert(QStringLiteral("linkKeys"),
                        QJsonArray{QJsonObject{{QStringLiteral("time"), value},
                                               {QStringLiteral("parent"), QJsonValue()}}});
        } else {
            where = QStringLiteral("transform position");
            node.insert(
                QStringLiteral("transformKeys"),
                QJsonArray{QJsonObject{{QStringLiteral("time"), 0},
                                       {QStringLiteral("position"), QJsonArray{value, 0, 0}}}});
        }
        nodes.replace(index, node);
        root.insert(QStringLiteral("nodes"), nodes);
    }
    return {Text(root), QStringLiteral("huge number at %1").arg(where), QString()};
}

QByteArray CSceneFileFuzzer::DeepNesting(const QByteArray& file)
{
    static const int kDepths[] = {100, 1023, 1025, 5000, 100000};
    const int depth = kDepths[m_random.bounded(5)];
    const bool arrays = m_random.bounded(2) == 0;
    const QByteArray open = arrays ? QByteArray("[") : QByteArray("{\"a\":");
    const QByteArray close = arrays ? QByteArray("]") : QByteArray("}");
    const QByteArray nested = open.repeated(depth) + "1" + close.repeated(depth);
    if (m_random.bounded(2) == 0)
        return open.repeated(depth) + file + close.repeated(depth);
    // A member of the scene whose value nests deeply.
    QByteArray compact = Text(Root(file));
    if (compact.endsWith('}'))
        compact.chop(1);
    return compact + ",\"deep\":" + nested + "}";
}

QStringList CSceneFileFuzzer::Offer(CSceneModel& scene, const CVariant& variant,
                                    const QString& source, bool* loadedOut)
{
    QStringList problems;
    const QByteArray before = scene.ToJson();
    const int undoCount = scene.UndoStack()->count();
    const int undoIndex = scene.UndoStack()->index();
    int fileLoaded = 0;
    const QMetaObject::Connection counter =
        QObject::connect(scene.EventSender(), &CEventSender::FileLoaded, scene.EventSender(),
                         [&fileLoaded](EFileType) { ++fileLoaded; });
    QString error;
    const bool loaded = scene.LoadJson(variant.data, source, &error);
    QObject::disconnect(counter);
    if (loadedOut != nullptr)
        *loadedOut = loaded;

    if (!loaded) {
        // "<file>: <object>: <problem>"
        static const QRegularExpression named(
            QStringLiteral(
                "^(.+?): (file|scene|node entry \\d+|node -?\\d+( \".*\")?( \\(transform "
                "key at time -?\\d+\\))?): \\S"),
            QRegularExpression::DotMatchesEverythingOption);
        const QRegularExpressionMatch match = named.match(error);
        if (error.isEmpty())
            problems.append(QStringLiteral("refused without an error message"));
        else if (!match.hasMatch() || match.captured(1) != source)
            problems.append(QStringLiteral("the error does not read \"<file>: <object>: "
                                           "<problem>\": %1")
                                .arg(error));
        else if (!variant.mustMention.isEmpty() && !error.contains(variant.mustMention))
            problems.append(QStringLiteral("the error does not name node %1: %2")
                                .arg(variant.mustMention, error));
        if (scene.ToJson() != before || scene.UndoStack()->count() != undoCount ||
            scene.UndoStack()->index() != undoIndex)
            problems.append(QStringLiteral("the refused file changed the open scene"));
        if (fileLoaded != 0)
            problems.append(QStringLiteral("the refused file sent FileLoaded"));
        return problems;
    }
    if (fileLoaded != 1)
        problems.append(QStringLiteral("the loaded file sent FileLoaded %1 times").arg(fileLoaded));
    if (scene.UndoStack()->count() != 0)
        problems.append(QStringLiteral("the loaded file left an undo history"));
    const QByteArray saved = scene.ToJson();
    QString reloadError;
    if (!scene.LoadJson(saved, source, &reloadError))
        problems.append(
            QStringLiteral("the loaded scene, saved, does not load again: %1").arg(reloadError));
    else if (scene.ToJson() != saved)
        problems.append(QStringLiteral("the loaded scene, saved and loaded again, differs"));
    return problems;
}

QStringList CSceneFileFuzzer::Run(std::uint32_t seed, int count)
{
    QRandomGenerator random(seed);
    CSceneGenerator generator(random);
    // Small scenes: every variant is parsed, built and compared whole, thousands of times.
    const QByteArray openFile = generator.MakeFile(5);
    const QByteArray sourceFile = generator.MakeFile(5);
    CSceneFileFuzzer fuzzer(random);
    CMessageWatch watch;
    CSceneModel scene;

    // The open scene carries an undo step and an unconfirmed preview, which a refused file
    // must leave alone too.
    const auto open = [&] {
        QString error;
        scene.LoadJson(openFile, QStringLiteral("open.json"), &error);
        const QVector<UB::CHandle*> objects = scene.Objects();
        if (objects.size() >= 2) {
            const HandleList moved{objects.last()};
            scene.LinkObjects(moved, objects.first(), 0, scene.CurrentTime(), true, false);
            scene.SetTransform(objects.last(), scene.CurrentTime(), TransformRecord());
        }
    };
    open();

    QStringList problems;
    CCrashNote::Enter("the scene-file variants", true, seed);
    for (int n = 1; n <= count; ++n) {
        CCrashNote::SetEvent(n);
        const CVariant variant = fuzzer.MakeVariant(sourceFile);
        const QString source = QStringLiteral("variant-%1.json").arg(n);
        bool loaded = false;
        QStringList found = Offer(scene, variant, source, &loaded);
        found += watch.TakeUnexpected();
        for (const QString& problem : qAsConst(found))
            problems.append(
                QStringLiteral("variant %1 (%2): %3").arg(n).arg(variant.kind, problem));
        if (loaded)
            open();
    }
    CCrashNote::Leave();
    return problems;
}

} // namespace KV
