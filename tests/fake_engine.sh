#!/bin/sh
# A stand-in engine of the engine protocol for the match tool's tests. It
# plays the move of a fixed script chosen by how many moves the game has
# (both sides read the same script), whatever the position:
#   king     the bottom side's pawn runs up the file and takes the top king
#   shuffle  both kings step back and forth until the game's move limit
#   illegal  a rook jump through the pawns
#   none     no move at all
#   quit     ends itself when asked for a move
script=$1
plies=0
while read -r line; do
  case "$line" in
    uci) echo "id name fake $script"; echo "uciok" ;;
    isready) echo "readyok" ;;
    position*)
      # shellcheck disable=SC2086
      set -- $line
      plies=$(($# > 2 ? $# - 3 : 0)) ;;
    go*)
      case "$script" in
        king) set -- e3e4+ a7a6+ e4e7- a6a5- e7e8+ a5a4+ e8e9-; shift "$plies"; move=$1 ;;
        shuffle) set -- e1e2 e9e8 e2e1 e8e9; shift $((plies % 4)); move=$1 ;;
        illegal) move=h2h9- ;;
        none) move="(none)" ;;
        quit) exit 0 ;;
      esac
      echo "info depth 1 score cp 0"
      echo "bestmove $move" ;;
    quit) exit 0 ;;
  esac
done
