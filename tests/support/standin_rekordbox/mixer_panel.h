#pragma once

#include <QPainter>
#include <QSize>
#include <QString>
#include <array>
#include <optional>

namespace standin {

// Mixer channels 1 and 2: printed knob labels, EQ knobs and channel faders.
class MixerPanel {
 public:
  enum Band { high, mid, low };

  // 0 closed … 1 fully open.
  void setFader(int channel, double value);
  // -1 … 1, 0 is neutral.
  void setEq(int channel, Band band, double value);
  double fader(int channel) const { return channels_[std::size_t(channel - 1)].fader; }
  double eq(int channel, Band band) const { return channels_[std::size_t(channel - 1)].eq[band]; }

  static std::optional<Band> band(const QString& name);

  void paint(QPainter& painter, QSize window) const;

 private:
  struct Channel {
    double fader = 1.0;
    std::array<double, 3> eq{0, 0, 0};
  };
  std::array<Channel, 2> channels_;
};

}  // namespace standin
