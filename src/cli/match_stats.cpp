#include "cli/match_stats.h"

#include <algorithm>
#include <cmath>

namespace vv::cli {
namespace {

// The count, mean and variance of a tally's samples: its pairs' scores when
// every game belongs to a finished pair, otherwise its games' scores.
struct Samples {
  double n = 0, mean = 0.5, variance = 0;
};

// The variance comes from the counts with a quarter of a sample added to
// every kind of result, so that a short unbroken run of one result does not
// read as certainty; the mean is the plain one.
constexpr double PRIOR = 0.25;

Samples samples_of(const MatchTally& t) {
  Samples s;
  const int paired = t.pairs[0] + t.pairs[1] + t.pairs[2] + t.pairs[3] + t.pairs[4];
  std::vector<double> value, count;
  if (paired > 0 && 2 * paired == t.games()) {
    for (int k = 0; k < 5; ++k) value.push_back(k / 4.0), count.push_back(t.pairs[k]);
  } else {
    value = {0, 0.5, 1};
    count = {static_cast<double>(t.losses), static_cast<double>(t.draws), static_cast<double>(t.wins)};
  }
  double n = 0, sum = 0, prior_n = 0, prior_sum = 0;
  for (std::size_t k = 0; k < value.size(); ++k) {
    n += count[k], sum += count[k] * value[k];
    prior_n += count[k] + PRIOR, prior_sum += (count[k] + PRIOR) * value[k];
  }
  s.n = n;
  if (n == 0) return s;
  s.mean = sum / n;
  const double prior_mean = prior_sum / prior_n;
  for (std::size_t k = 0; k < value.size(); ++k) s.variance += (count[k] + PRIOR) * std::pow(value[k] - prior_mean, 2);
  s.variance /= prior_n;
  return s;
}

}  // namespace

double MatchTally::score() const {
  return games() == 0 ? 0.5 : (wins + 0.5 * draws) / games();
}

double elo_of_score(double score) {
  const double s = std::clamp(score, 1e-4, 1 - 1e-4);
  return -400.0 * std::log10(1.0 / s - 1.0);
}

double score_of_elo(double elo) { return 1.0 / (1.0 + std::pow(10.0, -elo / 400.0)); }

EloEstimate estimate_elo(const MatchTally& t) {
  EloEstimate e;
  const Samples s = samples_of(t);
  e.elo = elo_of_score(s.mean);
  if (s.n < 2) return e;
  const double margin = 1.959964 * std::sqrt(s.variance / s.n);
  e.error = (elo_of_score(s.mean + margin) - elo_of_score(s.mean - margin)) / 2;
  return e;
}

double Sprt::lower() const { return std::log(beta / (1 - alpha)); }
double Sprt::upper() const { return std::log((1 - beta) / alpha); }

double log_likelihood_ratio(const MatchTally& t, const Sprt& sprt) {
  const Samples s = samples_of(t);
  if (s.n < 1) return 0;
  const double variance = s.variance;
  const double s0 = score_of_elo(sprt.elo0), s1 = score_of_elo(sprt.elo1);
  return s.n * (s1 - s0) * (2 * s.mean - s0 - s1) / (2 * variance);
}

int sprt_decision(const MatchTally& t, const Sprt& s) {
  const double llr = log_likelihood_ratio(t, s);
  if (llr >= s.upper()) return 1;
  if (llr <= s.lower()) return -1;
  return 0;
}

}  // namespace vv::cli
