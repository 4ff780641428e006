// The arithmetic of a match: the score, an Elo estimate with its 95% error,
// and the log-likelihood ratio of a sequential probability ratio test
// between two Elo bounds.
//
// Games come in pairs (one opening, each player on each side). When every
// game belongs to a finished pair the samples are the pairs' scores
// (pentanomial: 0, 1/4, 1/2, 3/4, 1), which removes the openings' share of
// the noise; otherwise the samples are the games (trinomial: 0, 1/2, 1).
#pragma once

#include <vector>

namespace vv::cli {

struct MatchTally {
  int wins = 0, draws = 0, losses = 0;  // for the first player
  int pairs[5] = {};                    // finished pairs by their points 0, 1/2, ..., 2
  int games() const { return wins + draws + losses; }
  double score() const;  // 0..1; 0.5 with no games
};

struct EloEstimate {
  double elo = 0;
  double error = 0;  // half the 95% interval; 0 with fewer than two samples
};

// Logistic Elo of a score and back.
double elo_of_score(double score);
double score_of_elo(double elo);

EloEstimate estimate_elo(const MatchTally& t);

// The sequential test: H0 elo = elo0 against H1 elo = elo1, errors alpha and
// beta. llr uses the normal approximation of the generalized test over the
// samples: n (s1 - s0) (2 mean - s0 - s1) / (2 variance), s = the expected
// scores of the bounds.
struct Sprt {
  double elo0 = 0, elo1 = 5, alpha = 0.05, beta = 0.05;
  double lower() const;  // log(beta / (1 - alpha)): accept H0 at or below
  double upper() const;  // log((1 - beta) / alpha): accept H1 at or above
};

double log_likelihood_ratio(const MatchTally& t, const Sprt& s);

// +1 H1 accepted, -1 H0 accepted, 0 go on.
int sprt_decision(const MatchTally& t, const Sprt& s);

}  // namespace vv::cli
