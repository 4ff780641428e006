// The match's arithmetic: Elo from a score, its error, and the sequential
// test's log-likelihood ratio and decisions.
#include <gtest/gtest.h>

#include <cmath>

#include "cli/match_stats.h"

namespace vv::cli {
namespace {

TEST(MatchStats, EloAndScoreAreInverse) {
  EXPECT_NEAR(elo_of_score(0.5), 0, 1e-9);
  EXPECT_NEAR(elo_of_score(0.75), 190.85, 0.01);
  EXPECT_NEAR(elo_of_score(0.25), -190.85, 0.01);
  for (double e : {-300.0, -20.0, 0.0, 5.0, 400.0}) EXPECT_NEAR(elo_of_score(score_of_elo(e)), e, 1e-6);
}

MatchTally pairs(int p0, int p1, int p2, int p3, int p4) {
  MatchTally t;
  const int counts[5] = {p0, p1, p2, p3, p4};
  // A pair of k points: k / 2 wins and k % 2 draws.
  for (int k = 0; k < 5; ++k) {
    t.pairs[k] = counts[k];
    t.wins += counts[k] * (k / 2);
    t.draws += counts[k] * (k % 2);
    t.losses += counts[k] * (2 - k / 2 - k % 2);
  }
  return t;
}

TEST(MatchStats, ErrorShrinksWithGamesAndPairsAreUsedWhenComplete) {
  const MatchTally small = pairs(2, 2, 4, 3, 3), large = pairs(20, 20, 40, 30, 30);
  const EloEstimate a = estimate_elo(small), b = estimate_elo(large);
  EXPECT_NEAR(a.elo, b.elo, 1e-9);
  EXPECT_GT(a.elo, 0);
  EXPECT_GT(a.error, 2.5 * b.error);
  EXPECT_LT(a.error, 3.5 * b.error);
  // The same games unpaired: the spread of single games.
  MatchTally games = large;
  for (int& p : games.pairs) p = 0;
  const EloEstimate c = estimate_elo(games);
  EXPECT_NEAR(c.elo, b.elo, 1e-9);
  EXPECT_NE(c.error, b.error);
}

TEST(MatchStats, LogLikelihoodRatioFollowsTheNormalApproximation) {
  MatchTally t;
  t.wins = 60, t.draws = 20, t.losses = 20;  // trinomial: no pairs
  const Sprt s{0, 10, 0.05, 0.05};
  // By hand, with a quarter of a game added to each result for the variance.
  const double n = 100, mean = 0.7;
  const double pn = 100.75, pmean = (60.25 + 0.5 * 20.25) / pn;
  const double var = (60.25 * std::pow(1 - pmean, 2) + 20.25 * std::pow(0.5 - pmean, 2) + 20.25 * pmean * pmean) / pn;
  const double s0 = 0.5, s1 = score_of_elo(10);
  EXPECT_NEAR(log_likelihood_ratio(t, s), n * (s1 - s0) * (2 * mean - s0 - s1) / (2 * var), 1e-9);
  EXPECT_NEAR(s.lower(), std::log(0.05 / 0.95), 1e-12);
  EXPECT_NEAR(s.upper(), std::log(0.95 / 0.05), 1e-12);
}

TEST(MatchStats, TheTestDecidesForTheTrueSideAndNotTooSoon) {
  const Sprt s{0, 10, 0.05, 0.05};
  EXPECT_EQ(sprt_decision(pairs(0, 0, 0, 0, 2), s), 0);  // two won pairs prove nothing yet
  EXPECT_EQ(sprt_decision(pairs(0, 0, 0, 0, 40), s), 1);
  EXPECT_EQ(sprt_decision(pairs(0, 0, 400, 0, 0), s), -1);  // all even: not 10 Elo better
  EXPECT_EQ(sprt_decision(pairs(5, 5, 10, 5, 5), s), 0);
  EXPECT_LT(log_likelihood_ratio(pairs(120, 40, 0, 40, 40), s), s.lower());
}

}  // namespace
}  // namespace vv::cli
