// The splash window: the program's picture in a borderless window centred
// on the screen, above the others. The first one of a run is the start-up
// splash and closes itself after 3000 ms; later ones are the About window
// and stay until clicked. A click anywhere closes it (it is hidden, not
// destroyed).
#pragma once

#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <span>

class QTimer;

namespace wayloom {

class TAboutBox : public QWidget {
    Q_OBJECT
public:
    static constexpr int splash_interval_ms = 3000;

    // Shows `jpeg` (the picture compiled into the program when empty); a
    // picture that cannot be decoded shows the program's name in text.
    explicit TAboutBox(QWidget* parent = nullptr, std::span<const std::uint8_t> jpeg = {});

    bool open() const { return open_; }
    bool shows_picture() const { return shows_picture_; }
    // Splash windows created in this run.
    static int creation_count() { return created_; }

public slots:
    void close_splash();

protected:
    void closeEvent(QCloseEvent* event) override;  // FormClose
    void mousePressEvent(QMouseEvent* event) override;

private:
    static int created_;
    bool open_ = true;
    bool shows_picture_ = false;

    QTimer* splash_timer_ = nullptr;  // named "splash_timer"
};

// Help "About": a fresh window owned by `owner` unless `about` is open; the
// closed one it replaces goes.
void show_about(QPointer<TAboutBox>& about, QWidget* owner);

} // namespace wayloom
