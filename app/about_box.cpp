#include "app/about_box.h"

#include "app/splash_picture.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace wayloom {

int TAboutBox::created_ = 0;

namespace {

// The client area: the picture in a bevelled panel.
constexpr int client_width = 528, client_height = 427;
constexpr int image_height = 419;

} // namespace

TAboutBox::TAboutBox(QWidget* parent, std::span<const std::uint8_t> jpeg)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName("AboutBox");
    setWindowTitle("About");
    setFixedSize(client_width, client_height);

    splash_panel_ = new QFrame(this);
    splash_panel_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    splash_panel_->setLineWidth(1);
    auto* fill = new QVBoxLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(splash_panel_);
    auto* inside = new QVBoxLayout(splash_panel_);
    inside->setContentsMargins(3, 3, 3, 3);
    splash_image_ = new QLabel(splash_panel_);
    splash_image_->setFixedSize(splash_width, image_height);
    splash_image_->setAlignment(Qt::AlignCenter);
    inside->addWidget(splash_image_, 0, Qt::AlignCenter);

    const std::optional<rgb_picture> picture = decode_jpeg(jpeg.empty() ? splash_jpeg() : jpeg);
    if (picture) {
        const QImage image(picture->pixels.data(), picture->width, picture->height,
                           3 * picture->width, QImage::Format_RGB888);
        splash_image_->setPixmap(QPixmap::fromImage(image));  // copies the pixels
        shows_picture_ = true;
    } else {
        QFont big = splash_image_->font();
        big.setPointSize(28);
        big.setBold(true);
        splash_image_->setFont(big);
        splash_image_->setText("Wayloom");
    }

    // Clicks on the panel and the picture reach this window and close it.
    splash_panel_->setAttribute(Qt::WA_TransparentForMouseEvents);

    splash_timer_ = new QTimer(this);
    splash_timer_->setSingleShot(true);
    splash_timer_->setInterval(splash_interval_ms);
    connect(splash_timer_, &QTimer::timeout, this, [this] {
        if (open_) close();
    });
    splash_panel_->setObjectName("splash_panel");
    splash_image_->setObjectName("splash_image");
    splash_timer_->setObjectName("splash_timer");
    if (++created_ == 1) splash_timer_->start();

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    open_ = true;
    show();
}

void TAboutBox::close_splash() { close(); }

void TAboutBox::closeEvent(QCloseEvent* event)
{
    open_ = false;
    splash_timer_->stop();
    QWidget::closeEvent(event);
}

void TAboutBox::mousePressEvent(QMouseEvent*) { close_splash(); }

void show_about(QPointer<TAboutBox>& about, QWidget* owner)
{
    if (about && about->open()) return;
    if (about) about->deleteLater();
    about = new TAboutBox(owner);
}

} // namespace wayloom
