#pragma once

#include <QKeySequence>
#include <QPointer>
#include <QString>
#include <QVector>

class QAction;
class QSettings;
class QWidget;

namespace KV {

class CSceneModel;

/// The keys of the actions that plug-ins register with the host's hot-key manager: the
/// sandbox's own key map gives the defaults, the user's choices are kept in QSettings.
class CHotKeyMap
{
public:
    /// One registered action, as the Hot Keys dialog lists it.
    struct CRow
    {
        QString category; // the category path, " / " between the levels
        QString owner;
        QPointer<QAction> action;
    };

    CHotKeyMap(CSceneModel* scene, QSettings* settings);

    /// Every action registered so far, category by category, in registration order.
    QVector<CRow> Rows() const;

    QKeySequence DefaultKey(const QString& owner, const QString& action) const;
    /// The user's key when there is one (possibly none at all), else the default.
    QKeySequence Key(const QString& owner, const QString& action) const;
    void SetUserKey(const QString& owner, const QString& action, const QKeySequence& key);
    /// Back to the default.
    void ClearUserKey(const QString& owner, const QString& action);

    /// Gives every registered action its key and makes the action reachable from `window`, so
    /// that the key works wherever the window has the focus.
    void Apply(QWidget* window) const;

private:
    static QString SettingsKey(const QString& owner, const QString& action);

    CSceneModel* m_scene;
    QSettings* m_settings;
};

} // namespace KV
