#include "CHotKeyMap.h"

#include "KVSceneModel.h"

#include <QAction>
#include <QSettings>
#include <QWidget>

namespace KV {

namespace {

const QString kDefaultKeysFile = QStringLiteral(":/sandbox/DefaultHotKeys.ini");

} // namespace

CHotKeyMap::CHotKeyMap(CSceneModel* scene, QSettings* settings)
    : m_scene(scene)
    , m_settings(settings)
{}

QVector<CHotKeyMap::CRow> CHotKeyMap::Rows() const
{
    QVector<CRow> rows;
    for (const CHotKeyCategory& category : m_scene->HotKeyCategories()) {
        const QString path = category.path.join(QStringLiteral(" / "));
        for (const QPointer<QAction>& action : category.actions) {
            if (!action.isNull())
                rows.append({path, category.owner, action});
        }
    }
    return rows;
}

QString CHotKeyMap::SettingsKey(const QString& owner, const QString& action)
{
    return QStringLiteral("HotKeys/%1/%2").arg(owner, action);
}

QKeySequence CHotKeyMap::DefaultKey(const QString& owner, const QString& action) const
{
    const QSettings defaults(kDefaultKeysFile, QSettings::IniFormat);
    return QKeySequence(defaults.value(QStringLiteral("%1/%2").arg(owner, action)).toString(),
                        QKeySequence::PortableText);
}

QKeySequence CHotKeyMap::Key(const QString& owner, const QString& action) const
{
    const QString key = SettingsKey(owner, action);
    if (m_settings->contains(key))
        return QKeySequence(m_settings->value(key).toString(), QKeySequence::PortableText);
    return DefaultKey(owner, action);
}

void CHotKeyMap::SetUserKey(const QString& owner, const QString& action, const QKeySequence& key)
{
    m_settings->setValue(SettingsKey(owner, action), key.toString(QKeySequence::PortableText));
}

void CHotKeyMap::ClearUserKey(const QString& owner, const QString& action)
{
    m_settings->remove(SettingsKey(owner, action));
}

void CHotKeyMap::Apply(QWidget* window) const
{
    for (const CRow& row : Rows()) {
        const QString name = row.action->objectName();
        // An action the key map does not know keeps whatever key it came with.
        if (m_settings->contains(SettingsKey(row.owner, name)) ||
            !DefaultKey(row.owner, name).isEmpty())
            row.action->setShortcut(Key(row.owner, name));
        if (!window->actions().contains(row.action))
            window->addAction(row.action);
    }
}

} // namespace KV
