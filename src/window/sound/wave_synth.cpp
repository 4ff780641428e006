#include "window/sound/wave_synth.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace vv::synth {

namespace {

constexpr double kPi = 3.14159265358979323846;
using Signal = std::vector<double>;

// A small generator of our own, so the noise is the same on every machine.
class Noise {
 public:
  explicit Noise(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
  double next() {  // uniform in [-1, 1)
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return double(state_ >> 11) * (2.0 / 9007199254740992.0) - 1.0;
  }

 private:
  std::uint64_t state_;
};

std::size_t frames_of(double seconds) { return std::size_t(std::lround(seconds * kRate)); }

// Two-pole resonator (band-pass), for the noise of the click.
class BandPass {
 public:
  BandPass(double centre, double q) {
    const double w = 2 * kPi * centre / kRate, alpha = std::sin(w) / (2 * q);
    const double a0 = 1 + alpha;
    b0_ = alpha / a0;
    b2_ = -alpha / a0;
    a1_ = -2 * std::cos(w) / a0;
    a2_ = (1 - alpha) / a0;
  }
  double operator()(double x) {
    const double y = b0_ * x + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
    x2_ = x1_;
    x1_ = x;
    y2_ = y1_;
    y1_ = y;
    return y;
  }

 private:
  double b0_, b2_, a1_, a2_, x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// A damped sine starting from zero, so it adds no step at its onset.
void add_mode(Signal& s, std::size_t at, double freq, double amp, double decay_seconds) {
  for (std::size_t n = 0; at + n < s.size(); ++n) {
    const double t = double(n) / kRate;
    s[at + n] += amp * std::exp(-t / decay_seconds) * std::sin(2 * kPi * freq * t);
  }
}

// Ends every effect in true silence: a sound that stops on a non-zero
// sample clicks.
void fade_out(Signal& s, double seconds) {
  const std::size_t n = std::min(s.size(), frames_of(seconds));
  for (std::size_t i = 0; i < n; ++i) s[s.size() - 1 - i] *= 0.5 - 0.5 * std::cos(kPi * double(i) / double(n));
}

// For the effects: a gentle high-pass (20 Hz) that, unlike taking the mean
// away, leaves the first sample at zero.
void block_dc(Signal& s) {
  const double keep = 1 - 2 * kPi * 20 / kRate;
  double in = 0, out = 0;
  for (double& x : s) {
    out = x - in + keep * out;
    in = x;
    x = out;
  }
}

// For the loop: taking the mean away keeps it periodic.
void remove_dc(Signal& s) {
  double mean = 0;
  for (double x : s) mean += x;
  mean /= double(s.size());
  for (double& x : s) x -= mean;
}

// Scales to the wanted peak and rounds to 16 bits. `channels` signals of one
// length are interleaved.
PcmClip to_pcm(const std::vector<Signal>& channels, double peak_db) {
  double peak = 0;
  for (const Signal& c : channels)
    for (double x : c) peak = std::max(peak, std::abs(x));
  const double gain = peak > 0 ? std::pow(10.0, peak_db / 20) * 32767.0 / peak : 0.0;
  PcmClip clip;
  clip.rate = kRate;
  clip.channels = int(channels.size());
  const std::size_t frames = channels.front().size();
  clip.samples.resize(frames * channels.size());
  for (std::size_t f = 0; f < frames; ++f)
    for (std::size_t c = 0; c < channels.size(); ++c)
      clip.samples[f * channels.size() + c] = std::int16_t(std::lround(channels[c][f] * gain));
  return clip;
}

// ---------------------------------------------------------------------------
// The koto: a plucked string after Karplus and Strong. A burst of noise runs
// round a delay line one period long; the averaging in the loop takes the
// high partials away first, as on a real string.

struct Pluck {
  double beat;  // from the start of the phrase, in beats
  int midi;     // note number, 62 = D4
  double velocity;
};

double note_hz(int midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12.0); }

Signal pluck_string(double freq, double velocity, std::uint64_t seed) {
  const double ring_seconds = 4.5 * std::pow(294.0 / freq, 0.35);  // lower strings ring longer
  Signal out(frames_of(std::min(6.0, ring_seconds * 1.3)));

  // The loop's averaging (leaning a little to the newer sample, so the
  // upper partials last longer, as on a silk or nylon string) delays by
  // `kLean` of a sample; an all-pass takes the remaining fraction so every
  // string is in tune.
  constexpr double kLean = 0.45;
  const double period = double(kRate) / freq - kLean;
  const std::size_t length = std::size_t(period - 0.1);
  const double fraction = period - double(length);
  const double allpass = (1 - fraction) / (1 + fraction);
  // The averaging itself damps the fundamental a little each round; the loss
  // makes up the rest of a fall of 60 dB in `ring_seconds`.
  const double w = 2 * kPi * freq / kRate;
  const double averaging_gain = std::sqrt((1 - kLean) * (1 - kLean) + kLean * kLean + 2 * (1 - kLean) * kLean * std::cos(w));
  const double loss = std::min(0.99999, std::pow(10.0, -3.0 / (ring_seconds * freq)) / averaging_gain);

  // The excitation: softer plucks are darker; picking near the bridge (an
  // eighth of the string) gives the koto its nasal edge.
  Noise noise(seed);
  Signal burst(length);
  double smooth = 0;
  const double brightness = 0.25 + 0.45 * velocity;
  for (double& x : burst) x = smooth += brightness * (noise.next() - smooth);
  const std::size_t pick = std::max<std::size_t>(1, length / 8);
  Signal excitation(length);
  for (std::size_t i = 0; i < length; ++i) excitation[i] = burst[i] - (i >= pick ? burst[i - pick] : 0.0);

  Signal line(length, 0.0);
  std::size_t head = 0;
  double ap_in = 0, ap_out = 0, previous = 0, dc_in = 0, dc_out = 0, tone = 0;
  for (std::size_t n = 0; n < out.size(); ++n) {
    const double delayed = line[head];
    const double averaged = ((1 - kLean) * delayed + kLean * previous) * loss;
    previous = delayed;
    const double tuned = allpass * averaged + ap_in - allpass * ap_out;
    ap_in = averaged;
    ap_out = tuned;
    const double y = (n < length ? excitation[n] * velocity : 0.0) + tuned;
    line[head] = y;
    head = head + 1 == length ? 0 : head + 1;
    // The body takes the edge off the very top and passes no DC.
    tone += 0.55 * (y - tone);
    dc_out = tone - dc_in + 0.995 * dc_out;
    dc_in = tone;
    out[n] = dc_out;
  }
  fade_out(out, 0.3);
  return out;
}

// The music: D miyako-bushi (D E♭ G A B♭), as a koto is tuned, over a drone
// of D and A, at 60 beats a minute. Two verses of four phrases of eight
// beats: a question, its answer coming home to D, a higher contrasting
// phrase, and the return, whose last low notes lead on. The second verse
// varies the first (a run up the strings opens its high phrase), so the
// loop is long enough not to be learnt by heart.
constexpr double kBeats = 64;
constexpr double kBeatSeconds = kMusicSeconds / kBeats;
// The loop starts a quarter beat before the first bar, so no note begins on
// the seam; notes still ringing at the end are wound round onto the start.
constexpr double kLeadSeconds = 0.25;

constexpr int D3 = 50, Eb3 = 51, G3 = 55, A3 = 57, Bb3 = 58, D4 = 62, Eb4 = 63, G4 = 67, A4 = 69, Bb4 = 70, D5 = 74,
              Eb5 = 75, G5 = 79;

constexpr Pluck kMelody[] = {
    // first verse: question
    {0.5, A4, 0.70}, {1.0, Bb4, 0.80}, {1.5, A4, 0.60}, {2.0, G4, 0.75}, {3.0, A4, 0.70}, {4.0, D5, 0.85},
    {5.0, Bb4, 0.70}, {5.5, A4, 0.60}, {6.0, G4, 0.75},
    // answer, home to D
    {8.5, A4, 0.70}, {9.0, Bb4, 0.75}, {9.5, D5, 0.80}, {10.0, Eb5, 0.85}, {11.0, D5, 0.75}, {12.0, Bb4, 0.70},
    {12.5, A4, 0.60}, {13.0, G4, 0.70}, {13.5, Eb4, 0.60}, {14.0, D4, 0.80},
    // the higher phrase
    {16.0, G4, 0.55}, {16.0, D5, 0.85}, {17.0, Eb5, 0.80}, {17.5, D5, 0.65}, {18.0, Bb4, 0.70}, {18.5, A4, 0.60},
    {19.0, Bb4, 0.75}, {20.0, G5, 0.80}, {20.5, Eb5, 0.65}, {21.0, D5, 0.75}, {22.0, Bb4, 0.70}, {23.0, A4, 0.60},
    {23.5, Bb4, 0.55},
    // the return
    {24.0, A4, 0.75}, {25.0, G4, 0.70}, {25.5, Eb4, 0.60}, {26.0, D4, 0.75}, {26.5, Eb4, 0.50}, {27.0, D4, 0.65},
    {28.0, A3, 0.60}, {29.0, D4, 0.70}, {30.0, Bb3, 0.40}, {31.0, A3, 0.45},

    // second verse: the question turned round
    {32.5, D5, 0.70}, {33.0, Bb4, 0.75}, {33.5, A4, 0.60}, {34.0, G4, 0.70}, {34.5, A4, 0.55}, {35.0, Bb4, 0.75},
    {36.0, A4, 0.70}, {36.5, G4, 0.60}, {37.0, Eb4, 0.65}, {38.0, G4, 0.75},
    // its answer reaches higher before coming home
    {40.5, A4, 0.70}, {41.0, Bb4, 0.75}, {41.5, D5, 0.80}, {42.0, G5, 0.85}, {42.5, Eb5, 0.70}, {43.0, D5, 0.75},
    {44.0, Bb4, 0.70}, {44.5, A4, 0.60}, {45.0, G4, 0.70}, {45.5, A4, 0.55}, {46.0, D4, 0.60}, {46.0, A4, 0.75},
    // a run up the strings into the high phrase
    {47.50, D4, 0.35}, {47.58, Eb4, 0.38}, {47.66, G4, 0.41}, {47.74, A4, 0.44}, {47.82, Bb4, 0.47},
    {48.0, D5, 0.85}, {49.0, Eb5, 0.75}, {49.5, D5, 0.65}, {50.0, Bb4, 0.70}, {51.0, A4, 0.65}, {51.5, Bb4, 0.60},
    {52.0, Eb5, 0.80}, {53.0, D5, 0.75}, {53.5, Bb4, 0.60}, {54.0, A4, 0.75}, {55.0, G4, 0.60}, {55.5, A4, 0.55},
    // the return, and the low notes that lead back to the start
    {56.0, Bb4, 0.75}, {57.0, A4, 0.70}, {57.5, G4, 0.60}, {58.0, Eb4, 0.65}, {59.0, D4, 0.75}, {60.0, A3, 0.60},
    {60.5, Bb3, 0.45}, {61.0, D4, 0.70}, {62.0, Bb3, 0.40}, {63.0, A3, 0.45},
};

// One low string on each bar's first beat.
constexpr Pluck kBass[] = {
    {0, D3, 0.50},  {4, G3, 0.45},  {8, D3, 0.50},  {12, A3, 0.45}, {16, G3, 0.50}, {20, Eb3, 0.45},
    {24, D3, 0.50}, {28, D3, 0.45}, {32, D3, 0.50}, {36, Eb3, 0.45}, {40, D3, 0.50}, {44, G3, 0.45},
    {48, G3, 0.50}, {52, Eb3, 0.45}, {56, D3, 0.50}, {60, D3, 0.45},
};

// Adds a note into both channels, wound round the loop's end.
void place(const Signal& note, std::size_t at, double pan, double level, Signal& left, Signal& right) {
  const double l = level * std::cos((pan + 1) * kPi / 4), r = level * std::sin((pan + 1) * kPi / 4);
  const std::size_t n = left.size();
  for (std::size_t i = 0; i < note.size(); ++i) {
    const std::size_t k = (at + i) % n;
    left[k] += l * note[i];
    right[k] += r * note[i];
  }
}

// The drone is a sum of sines each of which fits a whole number of times in
// the loop (its pitch moved by less than 1/64 Hz, far below hearing), and so
// do its slow swells of eight seconds: at the seam it simply goes on.
void add_drone(Signal& left, Signal& right) {
  const double cycle = 1.0 / kMusicSeconds;
  auto periodic = [cycle](double hz) { return std::round(hz / cycle) * cycle; };
  struct Partial {
    double hz;
    double amp;
  };
  const double d2 = periodic(note_hz(38)), a2 = periodic(note_hz(45));
  const Partial partials[] = {
      {d2, 1.0}, {2 * d2, 0.45}, {3 * d2, 0.18}, {4 * d2, 0.06}, {d2 + 4 * cycle, 0.5},
      {a2, 0.35}, {2 * a2, 0.12},
  };
  const std::size_t n = left.size();
  for (std::size_t i = 0; i < n; ++i) {
    const double t = double(i) / kRate;
    const double swell_l = 0.75 + 0.25 * std::cos(2 * kPi * t / 8);
    const double swell_r = 0.75 + 0.25 * std::cos(2 * kPi * t / 8 + kPi / 3);
    double v = 0;
    for (const Partial& p : partials) v += p.amp * std::sin(2 * kPi * p.hz * t);
    left[i] += 0.045 * swell_l * v;
    right[i] += 0.045 * swell_r * v;
  }
}

// A small room (four damped combs and two all-passes per side). It runs over
// the loop twice and keeps the second pass, so the echoes of the end are
// already in the start, as they are when the loop plays on.
void add_room(Signal& left, Signal& right) {
  struct Comb {
    Signal line;
    std::size_t head = 0;
    double store = 0;
    double run(double x) {
      const double y = line[head];
      store = y * 0.7 + store * 0.3;
      line[head] = x + store * 0.8;
      head = (head + 1) % line.size();
      return y;
    }
  };
  struct AllPass {
    Signal line;
    std::size_t head = 0;
    double run(double x) {
      const double b = line[head];
      line[head] = x + b * 0.5;
      head = (head + 1) % line.size();
      return b - x;
    }
  };
  auto make_side = [](std::size_t spread, std::vector<Comb>& combs, std::vector<AllPass>& passes) {
    for (std::size_t d : {1557u, 1617u, 1491u, 1422u}) combs.push_back(Comb{Signal(d + spread, 0.0)});
    for (std::size_t d : {556u, 441u}) passes.push_back(AllPass{Signal(d + spread, 0.0)});
  };
  std::vector<Comb> combs_l, combs_r;
  std::vector<AllPass> passes_l, passes_r;
  make_side(0, combs_l, passes_l);
  make_side(23, combs_r, passes_r);
  const std::size_t n = left.size();
  Signal wet_l(n), wet_r(n);
  for (int pass = 0; pass < 2; ++pass) {
    for (std::size_t i = 0; i < n; ++i) {
      const double in = 0.5 * (left[i] + right[i]);
      double l = 0, r = 0;
      for (Comb& c : combs_l) l += c.run(in);
      for (Comb& c : combs_r) r += c.run(in);
      for (AllPass& a : passes_l) l = a.run(l);
      for (AllPass& a : passes_r) r = a.run(r);
      wet_l[i] = l;
      wet_r[i] = r;
    }
  }
  for (std::size_t i = 0; i < n; ++i) {
    left[i] += 0.05 * wet_l[i];
    right[i] += 0.05 * wet_r[i];
  }
}

}  // namespace

PcmClip piece_click() {
  Signal s(frames_of(0.12), 0.0);
  // The strike: a few milliseconds of noise through a hollow band, faded in
  // over a fraction of a millisecond so it does not start with a step.
  Noise noise(7);
  BandPass hollow(2800, 1.2);
  for (std::size_t n = 0; n < s.size(); ++n) {
    const double t = double(n) / kRate;
    const double onset = std::min(1.0, t / 0.0003);
    s[n] += hollow(noise.next() * onset * std::exp(-t / 0.0025)) * 2.2;
  }
  // The wood: a few short modes of the piece and one low, damped one of the board.
  add_mode(s, 0, 1050, 0.45, 0.010);
  add_mode(s, 0, 1720, 0.30, 0.007);
  add_mode(s, 0, 2650, 0.20, 0.004);
  add_mode(s, 0, 190, 0.55, 0.018);
  block_dc(s);
  fade_out(s, 0.03);
  return to_pcm({s}, kClickPeakDb);
}

PcmClip refusal_buzz() {
  Signal s(frames_of(0.25), 0.0);
  // Two slightly apart square-ish tones near G2: their beating makes the buzz
  // rough rather than musical. Harmonics stop well below the Nyquist limit.
  const double f1 = 98.0, f2 = 103.5;
  for (std::size_t n = 0; n < s.size(); ++n) {
    const double t = double(n) / kRate;
    double v = 0;
    for (int k = 1; k * f2 < 4000; ++k) {
      const double amp = (k % 2 ? 1.0 : 0.35) / std::pow(k, 1.1);
      v += amp * (std::sin(2 * kPi * k * f1 * t) + 0.8 * std::sin(2 * kPi * k * f2 * t));
    }
    const double attack = std::min(1.0, t / 0.006);
    s[n] = v * attack;
  }
  block_dc(s);
  fade_out(s, 0.05);
  return to_pcm({s}, kBuzzPeakDb);
}

PcmClip about_chime() {
  Signal s(frames_of(0.6), 0.0);
  // Two struck bars, D6 then A6, a fifth apart: partials of a free bar
  // (1, 2.76, 5.40) with the high ones dying first.
  struct Strike {
    double at;
    double hz;
    double amp;
  };
  for (const Strike& k : {Strike{0.0, note_hz(86), 0.8}, Strike{0.11, note_hz(93), 1.0}}) {
    const std::size_t at = frames_of(k.at);
    add_mode(s, at, k.hz, k.amp, 0.22);
    add_mode(s, at, k.hz * 2.0, k.amp * 0.25, 0.12);
    add_mode(s, at, k.hz * 2.76, k.amp * 0.30, 0.06);
    add_mode(s, at, k.hz * 5.40, k.amp * 0.12, 0.025);
  }
  block_dc(s);
  fade_out(s, 0.08);
  return to_pcm({s}, kChimePeakDb);
}

PcmClip music_loop() {
  const std::size_t n = frames_of(kMusicSeconds);
  Signal left(n, 0.0), right(n, 0.0);
  const std::size_t lead = frames_of(kLeadSeconds);
  std::uint64_t seed = 1;
  auto play = [&](const Pluck& p, double level) {
    const double hz = note_hz(p.midi);
    // Low strings to the left, high ones to the right, as the koto lies.
    const double pan = std::clamp((p.midi - 64) / 16.0, -0.6, 0.6);
    place(pluck_string(hz, p.velocity, seed++), lead + frames_of(p.beat * kBeatSeconds), pan, level, left, right);
  };
  for (const Pluck& p : kMelody) play(p, 1.0);
  for (const Pluck& p : kBass) play(p, 0.6);
  add_drone(left, right);
  add_room(left, right);
  remove_dc(left);
  remove_dc(right);
  return to_pcm({left, right}, kMusicPeakDb);
}

}  // namespace vv::synth
