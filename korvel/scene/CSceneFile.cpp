#include "CSceneFile.h"

#include "CSceneNode.h"
#include "CSceneState.h"
#include "TransformMath.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace KV {

namespace {

const QString kFormat = QStringLiteral("korvel-scene");
constexpr int kVersion = 1;
// Ids stay exact in a JSON number; coordinates beyond this are not a scene anyone made.
constexpr qint64 kMaxId = qint64(1) << 53;
const TransformRecord kIdentity;
constexpr double kMaxCoordinate = 1e9;

QString Key(const char* name)
{
    return QString::fromLatin1(name);
}

// ---- Writing ---------------------------------------------------------------------------------

/// The shortest decimal that reads back as the same float, so files stay readable.
QJsonValue FloatValue(float value)
{
    char buffer[32];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QByteArray(buffer, static_cast<int>(written.ptr - buffer)).toDouble();
}

QJsonArray FloatArray(const float* values, int count)
{
    QJsonArray array;
    for (int i = 0; i < count; ++i)
        array.append(FloatValue(values[i]));
    return array;
}

QJsonValue IdOf(const CSceneNode* node)
{
    return node ? QJsonValue(static_cast<double>(node->id)) : QJsonValue(QJsonValue::Null);
}

QJsonObject WriteTransform(const TransformRecord& record)
{
    QJsonObject entry{{Key("position"), FloatArray(record.position, 3)},
                      {Key("rotation"), FloatArray(record.rotation, 4)},
                      {Key("scale"), FloatArray(record.scale, 3)}};
    bool reservedUsed = false;
    QJsonArray reserved;
    for (std::int32_t field : record.reserved) {
        reserved.append(field);
        reservedUsed = reservedUsed || field != 0;
    }
    if (reservedUsed)
        entry.insert(Key("reserved"), reserved);
    return entry;
}

bool IsIdentity(const TransformRecord& record)
{
    return std::memcmp(&record, &kIdentity, sizeof record) == 0;
}

QJsonObject WriteNode(const CSceneNode& node)
{
    QJsonObject object{{Key("id"), IdOf(&node)},
                       {Key("name"), node.desc.name},
                       {Key("objectType"), node.desc.objectType},
                       {Key("nodeKind"), node.desc.nodeKind},
                       {Key("linkable"), node.desc.linkable},
                       {Key("subNodeLinkExcluded"), node.desc.subNodeLinkExcluded},
                       {Key("linkDisabled"), node.desc.linkDisabled},
                       {Key("linkBlocked"), node.desc.linkBlocked},
                       {Key("owner"), IdOf(node.owner)},
                       {Key("ownerRoot"), IdOf(node.ownerRoot)}};
    if (node.structuralParent)
        object.insert(Key("parent"), IdOf(node.structuralParent));
    if (!IsIdentity(node.rest))
        object.insert(Key("rest"), WriteTransform(node.rest));
    if (!node.keys.link.empty()) {
        QJsonArray keys;
        for (const auto& key : node.keys.link)
            keys.append(QJsonObject{{Key("time"), key.first}, {Key("parent"), IdOf(key.second)}});
        object.insert(Key("linkKeys"), keys);
    }
    if (!node.keys.transform.empty()) {
        QJsonArray keys;
        for (const auto& key : node.keys.transform) {
            QJsonObject entry = WriteTransform(key.second);
            entry.insert(Key("time"), key.first);
            keys.append(entry);
        }
        object.insert(Key("transformKeys"), keys);
    }
    return object;
}

// ---- Reading ---------------------------------------------------------------------------------

/// Thrown inside the reader only; the reader turns it into the error text.
struct CReadError
{
    QString object;
    QString problem;
};

[[noreturn]] void Fail(const QString& object, const QString& problem)
{
    throw CReadError{object, problem};
}

struct CRawNode
{
    qint64 id = 0;
    QString label; // how messages name the node
    CNodeDesc desc;
    qint64 parentId = 0;
    QJsonObject json;
};

class CReader
{
public:
    std::unique_ptr<CSceneState> Read(const QJsonObject& root)
    {
        CheckFormat(root);
        m_state = std::make_unique<CSceneState>();
        ReadNodes(Member(root, "nodes", QJsonValue::Array, Key("scene")).toArray());
        for (const CRawNode& raw : m_raw)
            ReadKeys(raw);
        UBTime cycleTime = 0;
        if (const CSceneNode* looped = m_state->FindLinkCycle(&cycleTime)) {
            Fail(Label(looped),
                 QStringLiteral("its link parents at time %1 lead back to itself").arg(cycleTime));
        }
        ReadSceneValues(root);
        return std::move(m_state);
    }

private:
    static QString Label(const CSceneNode* node)
    {
        return QStringLiteral("node %1 \"%2\"").arg(node->id).arg(node->desc.name);
    }

    static QString TypeName(QJsonValue::Type type)
    {
        switch (type) {
        case QJsonValue::Array:
            return QStringLiteral("an array");
        case QJsonValue::Object:
            return QStringLiteral("an object");
        case QJsonValue::String:
            return QStringLiteral("a string");
        case QJsonValue::Bool:
            return QStringLiteral("true or false");
        default:
            return QStringLiteral("a number");
        }
    }

    /// A member that must have the given type; an absent member gives `fallback` when there is
    /// one, and is an error otherwise.
    static QJsonValue Member(const QJsonObject& object, const char* name, QJsonValue::Type type,
                             const QString& owner,
                             const QJsonValue& fallback = QJsonValue::Undefined)
    {
        const QJsonValue value = object.value(Key(name));
        if (value.isUndefined()) {
            if (fallback.isUndefined())
                Fail(owner, QStringLiteral("\"%1\" is missing").arg(Key(name)));
            return fallback;
        }
        if (value.type() != type)
            Fail(owner, QStringLiteral("\"%1\" must be %2").arg(Key(name), TypeName(type)));
        return value;
    }

    static qint64 Integer(const QJsonValue& value, qint64 min, qint64 max, const QString& what,
                          const QString& owner)
    {
        if (!value.isDouble())
            Fail(owner, QStringLiteral("%1 must be a whole number").arg(what));
        const double number = value.toDouble();
        if (!(number >= static_cast<double>(min) && number <= static_cast<double>(max)))
            Fail(owner, QStringLiteral("%1 %2 is out of range").arg(what).arg(number));
        if (std::floor(number) != number)
            Fail(owner, QStringLiteral("%1 must be a whole number").arg(what));
        return static_cast<qint64>(number);
    }

    static UBTime Time(const QJsonValue& value, const QString& owner)
    {
        return static_cast<UBTime>(Integer(value, std::numeric_limits<UBTime>::min(),
                                           std::numeric_limits<UBTime>::max(),
                                           QStringLiteral("time"), owner));
    }

    static int Int(const QJsonObject& object, const char* name, int fallback, const QString& owner)
    {
        const QJsonValue value = object.value(Key(name));
        if (value.isUndefined())
            return fallback;
        return static_cast<int>(Integer(value, std::numeric_limits<int>::min(),
                                        std::numeric_limits<int>::max(),
                                        QStringLiteral("\"%1\"").arg(Key(name)), owner));
    }

    static bool Bool(const QJsonObject& object, const char* name, bool fallback,
                     const QString& owner)
    {
        return Member(object, name, QJsonValue::Bool, owner, fallback).toBool();
    }

    static void Floats(const QJsonObject& key, const char* name, float* out, int count,
                       const QString& owner)
    {
        const QJsonValue value = key.value(Key(name));
        if (value.isUndefined())
            return;
        const QJsonArray array = value.toArray();
        if (!value.isArray() || array.size() != count)
            Fail(owner,
                 QStringLiteral("\"%1\" must be an array of %2 numbers").arg(Key(name)).arg(count));
        for (int i = 0; i < count; ++i) {
            const double number = array.at(i).toDouble(std::nan(""));
            if (!array.at(i).isDouble() || !(std::fabs(number) <= kMaxCoordinate)) {
                Fail(owner, QStringLiteral("\"%1\" holds %2, not a number within ±%3")
                                .arg(Key(name), array.at(i).toVariant().toString())
                                .arg(kMaxCoordinate));
            }
            out[i] = static_cast<float>(number);
        }
    }

    qint64 Reference(const QJsonValue& value, const QString& what, const QString& owner) const
    {
        if (value.isNull())
            return 0;
        const qint64 id = Integer(value, 1, kMaxId, what, owner);
        if (!m_ids.contains(id))
            Fail(owner,
                 QStringLiteral("%1 names node %2, which is not in the file").arg(what).arg(id));
        return id;
    }

    static void CheckFormat(const QJsonObject& root)
    {
        const QString scene = QStringLiteral("scene");
        if (Member(root, "format", QJsonValue::String, scene).toString() != kFormat)
            Fail(scene, QStringLiteral("\"format\" is not \"%1\"").arg(kFormat));
        const qint64 version = Integer(Member(root, "version", QJsonValue::Double, scene), 1,
                                       kVersion, QStringLiteral("\"version\""), scene);
        Q_UNUSED(version)
    }

    void ReadNodes(const QJsonArray& entries)
    {
        m_raw.reserve(entries.size());
        for (int i = 0; i < entries.size(); ++i) {
            const QString entryLabel = QStringLiteral("node entry %1").arg(i + 1);
            if (!entries.at(i).isObject())
                Fail(entryLabel, QStringLiteral("must be an object"));
            CRawNode raw;
            raw.json = entries.at(i).toObject();
            raw.id = Integer(Member(raw.json, "id", QJsonValue::Double, entryLabel), 1, kMaxId,
                             QStringLiteral("\"id\""), entryLabel);
            const QString idLabel = QStringLiteral("node %1").arg(raw.id);
            raw.desc.name = Member(raw.json, "name", QJsonValue::String, idLabel).toString();
            raw.label = QStringLiteral("node %1 \"%2\"").arg(raw.id).arg(raw.desc.name);
            if (m_ids.contains(raw.id))
                Fail(raw.label, QStringLiteral("id %1 is used by an earlier node too").arg(raw.id));
            m_ids.insert(raw.id, static_cast<int>(m_raw.size()));
            raw.desc.objectType = Int(raw.json, "objectType", raw.desc.objectType, raw.label);
            raw.desc.nodeKind = Int(raw.json, "nodeKind", raw.desc.nodeKind, raw.label);
            raw.desc.linkable = Bool(raw.json, "linkable", raw.desc.linkable, raw.label);
            raw.desc.subNodeLinkExcluded =
                Bool(raw.json, "subNodeLinkExcluded", raw.desc.subNodeLinkExcluded, raw.label);
            raw.desc.linkDisabled =
                Bool(raw.json, "linkDisabled", raw.desc.linkDisabled, raw.label);
            raw.desc.linkBlocked = Bool(raw.json, "linkBlocked", raw.desc.linkBlocked, raw.label);
            m_raw.push_back(raw);
        }
        for (CRawNode& raw : m_raw) {
            raw.parentId = Reference(raw.json.value(Key("parent")).isUndefined()
                                         ? QJsonValue(QJsonValue::Null)
                                         : raw.json.value(Key("parent")),
                                     QStringLiteral("\"parent\""), raw.label);
        }
        CreateNodes();
        for (const CRawNode& raw : m_raw)
            ReadOwners(raw);
    }

    /// Creates the nodes parents first, otherwise in file order. A node that never gets
    /// created waits on a parent that waits on it in turn.
    void CreateNodes()
    {
        QHash<qint64, QVector<int>> waiting;
        QVector<int> ready;
        for (int i = 0; i < static_cast<int>(m_raw.size()); ++i) {
            const CRawNode& raw = m_raw[static_cast<std::size_t>(i)];
            if (raw.parentId != 0 && raw.parentId == raw.id)
                Fail(raw.label, QStringLiteral("is its own structural parent"));
            if (raw.parentId == 0 || m_state->FindById(raw.parentId)) {
                ready.append(i);
            } else {
                waiting[raw.parentId].append(i);
                continue;
            }
            while (!ready.isEmpty()) {
                const CRawNode& next = m_raw[static_cast<std::size_t>(ready.takeFirst())];
                m_state->AddNode(m_state->FindById(next.parentId), next.desc, next.id);
                ready.append(waiting.take(next.id));
            }
        }
        if (!waiting.isEmpty()) {
            for (const CRawNode& raw : m_raw) {
                if (!m_state->FindById(raw.id))
                    Fail(raw.label, QStringLiteral("its structural parents lead back to itself"));
            }
        }
    }

    void ReadOwners(const CRawNode& raw)
    {
        CSceneNode* node = m_state->FindById(raw.id);
        const QJsonValue owner = raw.json.value(Key("owner"));
        const QJsonValue ownerRoot = raw.json.value(Key("ownerRoot"));
        if (!owner.isUndefined()) {
            node->owner =
                m_state->FindById(Reference(owner, QStringLiteral("\"owner\""), raw.label));
        }
        if (!ownerRoot.isUndefined()) {
            node->ownerRoot =
                m_state->FindById(Reference(ownerRoot, QStringLiteral("\"ownerRoot\""), raw.label));
        }
    }

    /// Runs `read(key, time)` for each key of the array member `member`, after checking that
    /// it is an object with a time that `keys` does not hold yet.
    template<typename Keys, typename Read>
    static void ForEachKey(const CRawNode& raw, const char* member, const QString& kind,
                           const Keys& keys, Read&& read)
    {
        const QJsonArray entries =
            Member(raw.json, member, QJsonValue::Array, raw.label, QJsonArray()).toArray();
        for (const QJsonValue& value : entries) {
            if (!value.isObject())
                Fail(raw.label, QStringLiteral("a %1 key must be an object").arg(kind));
            const QJsonObject key = value.toObject();
            const UBTime time = Time(Member(key, "time", QJsonValue::Double, raw.label), raw.label);
            if (keys.count(time))
                Fail(raw.label, QStringLiteral("has two %1 keys at time %2").arg(kind).arg(time));
            read(key, time);
        }
    }

    void ReadKeys(const CRawNode& raw)
    {
        CSceneNode* node = m_state->FindById(raw.id);
        ForEachKey(raw, "linkKeys", QStringLiteral("link"), node->keys.link,
                   [&](const QJsonObject& key, UBTime time) {
                       const QString what = QStringLiteral("link key at time %1").arg(time);
                       const QJsonValue parent = key.value(Key("parent"));
                       if (parent.isUndefined())
                           Fail(raw.label, QStringLiteral("%1 has no \"parent\"").arg(what));
                       node->keys.link[time] =
                           m_state->FindById(Reference(parent, what, raw.label));
                   });
        ForEachKey(
            raw, "transformKeys", QStringLiteral("transform"), node->keys.transform,
            [&](const QJsonObject& key, UBTime time) {
                node->keys.transform[time] = ReadTransform(
                    key, QStringLiteral("%1 (transform key at time %2)").arg(raw.label).arg(time));
            });
        const QJsonValue rest = raw.json.value(Key("rest"));
        if (!rest.isUndefined()) {
            const QString what = raw.label + QStringLiteral(" (rest transform)");
            if (!rest.isObject())
                Fail(what, QStringLiteral("must be an object"));
            node->rest = ReadTransform(rest.toObject(), what);
        }
    }

    static TransformRecord ReadTransform(const QJsonObject& key, const QString& what)
    {
        TransformRecord record;
        Floats(key, "position", record.position, 3, what);
        Floats(key, "rotation", record.rotation, 4, what);
        Floats(key, "scale", record.scale, 3, what);
        const QJsonArray reserved =
            Member(key, "reserved", QJsonValue::Array, what, QJsonArray()).toArray();
        if (!reserved.isEmpty() && reserved.size() != 5)
            Fail(what, QStringLiteral("\"reserved\" must hold 5 numbers"));
        for (int i = 0; i < reserved.size(); ++i) {
            record.reserved[i] = static_cast<std::int32_t>(Integer(
                reserved.at(i), std::numeric_limits<std::int32_t>::min(),
                std::numeric_limits<std::int32_t>::max(), QStringLiteral("\"reserved\""), what));
        }
        if (!TransformMath::IsUsable(record))
            Fail(what, QStringLiteral("the rotation is the zero quaternion"));
        return record;
    }

    void ReadSceneValues(const QJsonObject& root)
    {
        const QString scene = QStringLiteral("scene");
        m_state->currentTime =
            Time(Member(root, "currentTime", QJsonValue::Double, scene, 0), scene);
        const QJsonValue camera = root.value(Key("camera"));
        if (!camera.isUndefined())
            m_state->camera =
                m_state->FindById(Reference(camera, QStringLiteral("\"camera\""), scene));
        const QJsonArray selection =
            Member(root, "selection", QJsonValue::Array, scene, QJsonArray()).toArray();
        for (const QJsonValue& value : selection) {
            CSceneNode* node =
                m_state->FindById(Reference(value, QStringLiteral("\"selection\""), scene));
            if (node && !m_state->selection.contains(node))
                m_state->selection.append(node);
        }
        const QJsonValue names = root.value(Key("standardNames"));
        if (names.isUndefined())
            return;
        if (!names.isObject())
            Fail(scene, QStringLiteral("\"standardNames\" must be an object"));
        m_state->standardNames.clear();
        const QJsonObject table = names.toObject();
        for (auto it = table.begin(); it != table.end(); ++it) {
            bool isIndex = false;
            const int index = it.key().toInt(&isIndex);
            if (!isIndex)
                Fail(scene,
                     QStringLiteral("standard name key \"%1\" is not a number").arg(it.key()));
            if (!it.value().isString())
                Fail(scene, QStringLiteral("standard name %1 must be a string").arg(index));
            m_state->standardNames.insert(index, it.value().toString());
        }
    }

    std::unique_ptr<CSceneState> m_state;
    std::vector<CRawNode> m_raw;
    QHash<qint64, int> m_ids;
};

} // namespace

QByteArray CSceneFile::Write(const CSceneState& state)
{
    QJsonArray nodes;
    for (const CSceneNode* node : state.Nodes())
        nodes.append(WriteNode(*node));
    QJsonArray selection;
    for (const CSceneNode* node : state.selection)
        selection.append(IdOf(node));
    QJsonObject names;
    for (auto it = state.standardNames.cbegin(); it != state.standardNames.cend(); ++it)
        names.insert(QString::number(it.key()), it.value());
    const QJsonObject root{{Key("format"), kFormat},
                           {Key("version"), kVersion},
                           {Key("currentTime"), state.currentTime},
                           {Key("camera"), IdOf(state.camera)},
                           {Key("selection"), selection},
                           {Key("standardNames"), names},
                           {Key("nodes"), nodes}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::unique_ptr<CSceneState> CSceneFile::Read(const QByteArray& json, const QString& sourceName,
                                              QString* error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    QString problem;
    if (json.trimmed().isEmpty()) {
        problem = QStringLiteral("file: the file is empty");
    } else if (parseError.error != QJsonParseError::NoError) {
        problem = QStringLiteral("file: not valid JSON at offset %1 (%2)")
                      .arg(parseError.offset)
                      .arg(parseError.errorString());
    } else if (!document.isObject()) {
        problem = QStringLiteral("file: the top level must be a JSON object");
    } else {
        try {
            return CReader().Read(document.object());
        } catch (const CReadError& failure) {
            problem = failure.object + QStringLiteral(": ") + failure.problem;
        }
    }
    if (error)
        *error = sourceName + QStringLiteral(": ") + problem;
    return nullptr;
}

} // namespace KV
