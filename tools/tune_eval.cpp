// Fits the searching player's evaluation weights to the results of games
// (Texel's method): each position of a game is labelled with the game's result
// for the side to move (1, 0.5 or 0), and the weights are moved to make
// sigmoid(k * evaluation) predict those labels with the least squared error.
//
//   tune_eval FILE [ITERATIONS] [LAMBDA]
//
// FILE holds one position a line, written with the side to move as the top
// side, then '|' and the result for that side, e.g.
//   lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL 0,0,0,0 0,0,0,0|0.5
// The evaluation is meant for quiet positions, so each position is first
// played out by a short capture search, and the features of the position at
// the end of its best line are fitted; a position where a king can be taken
// is left out. The program prints the fitted table, ready for deep_eval.cpp.
// The evaluation is linear in its features, so the gradient is exact and cheap.
// Self-play games are few and their positions alike, so the error carries a
// penalty LAMBDA * sum(((w - start) / 100)^2) that keeps each weight near the
// table's present one unless the games pull it away (default 0.001).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "com/deep/deep_board.h"
#include "com/deep/deep_eval.h"
#include "rules/position_text.h"

namespace {

using namespace vv;
using namespace vv::deep;

struct Sample {
  int f[FEATURES];
  float result;
};

// A capture search with the evaluation standing pat, scored as evaluate()
// scores; `leaf` receives the features of the position its best line ends
// in. Taking a king ends the game, so it is not a capture to play out.
int quiet_leaf(DeepBoard& b, int alpha, int beta, int depth, int leaf[FEATURES]) {
  int here[FEATURES];
  eval_features(b, here);
  int stand = TEMPO;
  for (int i = 0; i < FEATURES; ++i) stand += EVAL_WEIGHTS[i] * here[i];
  if (b.side() != COM) stand = 2 * TEMPO - stand;
  std::copy(here, here + FEATURES, leaf);
  if (stand >= beta || depth == 0) return stand;
  if (stand > alpha) alpha = stand;
  Move list[MAX_MOVES];
  const int n = b.generate_captures(list);
  int best = stand;
  int child[FEATURES];
  for (int i = 0; i < n; ++i) {
    const int victim = b.at(move_to(list[i]));
    if (victim == KING_KIND || victim == -KING_KIND) continue;
    Undo u;
    b.make(list[i], u);
    const int score = -quiet_leaf(b, -beta, -alpha, depth - 1, child);
    b.unmake(list[i], u);
    if (score > best) {
      best = score;
      std::copy(child, child + FEATURES, leaf);
      if (score > alpha) alpha = score;
      if (score >= beta) break;
    }
  }
  return best;
}

double sigmoid(double x) { return 1.0 / (1.0 + std::exp(-x)); }

// The evaluation of a sample under weights w, for the computer's side: the
// side to move in every position of the file.
double score_of(const Sample& s, const std::vector<double>& w) {
  double e = TEMPO;
  for (int i = 0; i < FEATURES; ++i) e += w[i] * s.f[i];
  return e;
}

// The mean squared error of the predictions against the results.
double error(const std::vector<Sample>& data, const std::vector<double>& w, double k) {
  double sum = 0;
  for (const Sample& s : data) {
    const double d = s.result - sigmoid(k * score_of(s, w));
    sum += d * d;
  }
  return sum / static_cast<double>(data.size());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: tune_eval FILE [ITERATIONS] [LAMBDA]\n";
    return 2;
  }
  const int iterations = argc > 2 ? std::atoi(argv[2]) : 2000;
  const double lambda = argc > 3 ? std::atof(argv[3]) : 0.001;
  if (iterations < 1 || lambda < 0) {
    std::cerr << "tune_eval: bad ITERATIONS or LAMBDA\n";
    return 2;
  }
  std::ifstream in(argv[1]);
  if (!in) {
    std::cerr << "tune_eval: cannot read '" << argv[1] << "'\n";
    return 1;
  }
  std::vector<Sample> data;
  std::string line;
  long number = 0, skipped = 0;
  while (std::getline(in, line)) {
    ++number;
    const auto bar = line.find('|');
    if (bar == std::string::npos) {
      std::cerr << "tune_eval: line " << number << ": no '|'\n";
      return 1;
    }
    Position p{};
    std::string error_text;
    if (!parse_position(line.substr(0, bar), p, error_text)) {
      std::cerr << "tune_eval: line " << number << ": " << error_text << '\n';
      return 1;
    }
    char* end = nullptr;
    const double result = std::strtod(line.c_str() + bar + 1, &end);
    if (end == line.c_str() + bar + 1 || result < 0 || result > 1) {
      std::cerr << "tune_eval: line " << number << ": bad result\n";
      return 1;
    }
    DeepBoard b;
    b.set(p, COM);
    if (b.can_take_king() || b.in_check()) {
      ++skipped;
      continue;
    }
    Sample s;
    quiet_leaf(b, -100000, 100000, 6, s.f);
    s.result = static_cast<float>(result);
    data.push_back(s);
  }
  if (data.empty()) {
    std::cerr << "tune_eval: no quiet positions\n";
    return 1;
  }
  std::vector<double> w(EVAL_WEIGHTS, EVAL_WEIGHTS + FEATURES);
  const std::vector<double> start = w;

  // The scale k that the present weights fit best.
  double k = 0.004, best_k = k, best_error = error(data, w, k);
  for (double t = 0.00005; t <= 0.01; t += 0.00005) {
    const double e = error(data, w, t);
    if (e < best_error) best_error = e, best_k = t;
  }
  k = best_k;
  std::fprintf(stderr, "positions %zu (skipped %ld), k %.4f, error %.6f\n", data.size(), skipped, k, best_error);

  // Gradient descent with Adam steps, in centipawn-sized units.
  std::vector<double> m(FEATURES, 0), v(FEATURES, 0);
  const double rate = 2.0, b1 = 0.9, b2 = 0.999;
  for (int it = 1; it <= iterations; ++it) {
    std::vector<double> g(FEATURES, 0);
    for (const Sample& s : data) {
      const double p = sigmoid(k * score_of(s, w));
      const double common = -2.0 * (s.result - p) * p * (1 - p) * k;
      for (int i = 0; i < FEATURES; ++i)
        if (s.f[i] != 0) g[i] += common * s.f[i];
    }
    for (int i = 0; i < FEATURES; ++i) {
      g[i] /= static_cast<double>(data.size());
      g[i] += 2 * lambda * (w[i] - start[i]) / 1e4;
      m[i] = b1 * m[i] + (1 - b1) * g[i];
      v[i] = b2 * v[i] + (1 - b2) * g[i] * g[i];
      const double mh = m[i] / (1 - std::pow(b1, it)), vh = v[i] / (1 - std::pow(b2, it));
      w[i] -= rate * mh / (std::sqrt(vh) + 1e-12);
    }
    if (it % 200 == 0) std::fprintf(stderr, "iteration %d error %.6f\n", it, error(data, w, k));
  }
  std::printf("const int EVAL_WEIGHTS[FEATURES] = {");
  for (int i = 0; i < FEATURES; ++i) std::printf("%s%ld", i ? ", " : "", std::lround(w[i]));
  std::printf("};\n");
  return 0;
}
