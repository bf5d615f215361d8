#include "CTimelineBar.h"

#include "CKeySlider.h"
#include "CNodeNames.h"
#include "KVSceneModel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QStyle>
#include <QTimer>
#include <QToolButton>

#include <algorithm>

namespace KV {

namespace {

constexpr UBTime kMinimumEnd = 100;
// Below this width Play and Stop show their icons only, so that the slider keeps its room.
constexpr int kCompactWidth = 560;

} // namespace

CTimelineBar::CTimelineBar(CSceneModel* scene, QWidget* parent)
    : QWidget(parent)
    , m_scene(scene)
    , m_play(new QToolButton(this))
    , m_stop(new QToolButton(this))
    , m_slider(new CKeySlider(this))
    , m_time(new QSpinBox(this))
    , m_end(new QLabel(this))
    , m_timer(new QTimer(this))
{
    setObjectName(QStringLiteral("qtTimeline"));
    m_play->setObjectName(QStringLiteral("qtPlayButton"));
    m_play->setText(tr("Play"));
    m_play->setToolTip(tr("Play"));
    m_play->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    m_play->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_stop->setObjectName(QStringLiteral("qtStopButton"));
    m_stop->setText(tr("Stop"));
    m_stop->setToolTip(tr("Stop"));
    m_stop->setIcon(style()->standardIcon(QStyle::SP_MediaStop));
    m_stop->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_slider->setObjectName(QStringLiteral("qtTimeSlider"));
    m_slider->setTickPosition(QSlider::TicksBelow);
    m_slider->setTickInterval(10);
    m_slider->setPageStep(10);
    m_slider->setMinimumWidth(120);
    m_time->setObjectName(QStringLiteral("qtTimeSpinBox"));
    m_time->setPrefix(tr("Time "));
    m_end->setObjectName(QStringLiteral("qtTimeEnd"));
    m_timer->setInterval(1000 / kFramesPerSecond);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->addWidget(m_play);
    layout->addWidget(m_stop);
    layout->addWidget(m_slider, 1);
    layout->addWidget(m_time);
    layout->addWidget(m_end);

    connect(m_play, &QToolButton::clicked, this, &CTimelineBar::Play);
    connect(m_stop, &QToolButton::clicked, this, &CTimelineBar::Stop);
    connect(m_slider, &QSlider::valueChanged, m_scene, &CSceneModel::SetCurrentTime);
    connect(m_time, qOverload<int>(&QSpinBox::valueChanged), m_scene, &CSceneModel::SetCurrentTime);
    connect(m_timer, &QTimer::timeout, this, &CTimelineBar::Advance);
    connect(m_scene, &CSceneModel::TimeChanged, this, &CTimelineBar::ShowTime);
    connect(m_scene, &CSceneModel::SceneChanged, this, &CTimelineBar::ShowKeys);
    connect(m_scene, &CSceneModel::SelectionChanged, this, &CTimelineBar::ShowKeys);
    connect(m_scene->EventSender(), &CEventSender::Played, this, &CTimelineBar::ShowPlaying);
    connect(m_scene->EventSender(), &CEventSender::Stopped, this, &CTimelineBar::ShowPlaying);
    UpdateRange();
    ShowPlaying();
}

void CTimelineBar::UpdateRange()
{
    UBTime end = kMinimumEnd;
    for (UB::CHandle* node : m_scene->AllNodes()) {
        for (UBTime time : m_scene->LinkKeyTimes(node))
            end = std::max(end, time);
        for (UBTime time : m_scene->TransformKeyTimes(node))
            end = std::max(end, time);
    }
    {
        const QSignalBlocker sliderBlocker(m_slider);
        const QSignalBlocker timeBlocker(m_time);
        m_slider->setRange(0, end);
        m_time->setRange(0, end);
    }
    m_end->setText(tr("of %1").arg(end));
    ShowTime();
    ShowKeys();
}

void CTimelineBar::Play()
{
    if (m_scene->Playing())
        return;
    m_scene->Play();
}

void CTimelineBar::Stop()
{
    if (!m_scene->Playing())
        return;
    m_scene->Stop();
}

void CTimelineBar::ShowTime()
{
    const QSignalBlocker sliderBlocker(m_slider);
    const QSignalBlocker timeBlocker(m_time);
    m_slider->setValue(m_scene->CurrentTime());
    m_time->setValue(m_scene->CurrentTime());
}

void CTimelineBar::ShowPlaying()
{
    // Playback may also start and stop from elsewhere (the Developer menu, a plug-in).
    const bool playing = m_scene->Playing();
    m_play->setEnabled(!playing);
    m_stop->setEnabled(playing);
    if (playing && !m_timer->isActive())
        m_timer->start();
    else if (!playing)
        m_timer->stop();
}

void CTimelineBar::ShowKeys()
{
    const CNodeNames names(m_scene);
    QVector<CKeySlider::CKey> keys;
    bool outOfRange = false;
    for (UB::CHandle* node : m_scene->Selection()) {
        for (UBTime time : m_scene->LinkKeyTimes(node)) {
            UB::CHandle* parent = m_scene->LinkParentAt(node, time);
            keys.append(
                {time, tr("%1: %2 linked to %3")
                           .arg(time)
                           .arg(names.Unambiguous(node),
                                parent != nullptr ? names.Unambiguous(parent) : tr("nothing"))});
            outOfRange = outOfRange || time > m_slider->maximum();
        }
    }
    m_slider->SetKeys(keys);
    if (outOfRange)
        UpdateRange();
}

void CTimelineBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const Qt::ToolButtonStyle style =
        width() < kCompactWidth ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextBesideIcon;
    m_play->setToolButtonStyle(style);
    m_stop->setToolButtonStyle(style);
}

void CTimelineBar::Advance()
{
    const UBTime next = m_scene->CurrentTime() + 1;
    m_scene->SetCurrentTime(next > m_slider->maximum() ? m_slider->minimum() : next);
}

} // namespace KV
