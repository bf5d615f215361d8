#pragma once

#include "host/UBTypes.h"

#include <QSlider>
#include <QString>
#include <QVector>

namespace KV {

/// The time slider, with keys marked along its groove; hovering a mark tells what the key is.
class CKeySlider : public QSlider
{
    Q_OBJECT
public:
    struct CKey
    {
        UBTime time = 0;
        QString text; // what the mark's tool tip says
    };

    explicit CKeySlider(QWidget* parent = nullptr);

    void SetKeys(const QVector<CKey>& keys);
    const QVector<CKey>& Keys() const { return m_keys; }
    /// The centre of the mark of a key at `time`, in the slider's coordinates.
    QPoint MarkPosition(UBTime time) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    QVector<CKey> m_keys;
};

} // namespace KV
