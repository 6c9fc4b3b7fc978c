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

    auto* splash_panel = new QFrame(this);
    splash_panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    splash_panel->setLineWidth(1);
    auto* fill = new QVBoxLayout(this);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(splash_panel);
    auto* inside = new QVBoxLayout(splash_panel);
    inside->setContentsMargins(3, 3, 3, 3);
    auto* splash_image = new QLabel(splash_panel);
    splash_image->setFixedSize(splash_width, image_height);
    splash_image->setAlignment(Qt::AlignCenter);
    inside->addWidget(splash_image, 0, Qt::AlignCenter);

    const std::optional<rgb_picture> picture = decode_jpeg(jpeg.empty() ? splash_jpeg() : jpeg);
    if (picture) {
        const QImage image(picture->pixels.data(), picture->width, picture->height,
                           3 * picture->width, QImage::Format_RGB888);
        splash_image->setPixmap(QPixmap::fromImage(image));  // copies the pixels
        shows_picture_ = true;
    } else {
        QFont big = splash_image->font();
        big.setPointSize(28);
        big.setBold(true);
        splash_image->setFont(big);
        splash_image->setText("Wayloom");
    }

    // Clicks on the panel and the picture reach this window and close it.
    splash_panel->setAttribute(Qt::WA_TransparentForMouseEvents);

    splash_timer_ = new QTimer(this);
    splash_timer_->setSingleShot(true);
    splash_timer_->setInterval(splash_interval_ms);
    connect(splash_timer_, &QTimer::timeout, this, [this] {
        if (open_) close();
    });
    splash_panel->setObjectName("splash_panel");
    splash_image->setObjectName("splash_image");
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
