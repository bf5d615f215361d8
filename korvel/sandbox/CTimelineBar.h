#pragma once

#include "host/UBTypes.h"

#include <QWidget>

class QLabel;
class QSlider;
class QSpinBox;
class QTimer;
class QToolButton;

namespace KV {

class CSceneModel;

/// The timeline: the current time on a slider and in a spin box, and Play and Stop. Playing
/// steps the scene's time forward and starts again at the end.
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

private:
    void ShowTime();
    void ShowPlaying();
    void Advance();

    CSceneModel* m_scene;
    QToolButton* m_play;
    QToolButton* m_stop;
    QSlider* m_slider;
    QSpinBox* m_time;
    QLabel* m_end;
    QTimer* m_timer;
};

} // namespace KV
