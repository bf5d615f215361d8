#pragma once

#include "host/UBTypes.h"

#include <QWidget>

class QLabel;
class QSpinBox;
class QTimer;
class QToolButton;

namespace KV {

class CKeySlider;
class CSceneModel;

/// The timeline: the current time on a slider and in a spin box, and Play and Stop. Playing
/// steps the scene's time forward and starts again at the end. The slider marks the link keys
/// of the selection.
class CTimelineBar : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kFramesPerSecond = 30;

    explicit CTimelineBar(CSceneModel* scene, QWidget* parent = nullptr);

    /// Fits the slider's range to the keys of the scene (at least 0 to 100).
    void UpdateRange();
    void Play();
    void Stop();
    CKeySlider* Slider() const { return m_slider; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ShowTime();
    void ShowKeys();
    void ShowPlaying();
    void Advance();

    CSceneModel* m_scene;
    QToolButton* m_play;
    QToolButton* m_stop;
    CKeySlider* m_slider;
    QSpinBox* m_time;
    QLabel* m_end;
    QTimer* m_timer;
};

} // namespace KV
