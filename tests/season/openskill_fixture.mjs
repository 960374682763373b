// Makes openskill_fixture.json: a chain of free-for-all matches rated with
// the openskill package's Plackett-Luce model, each player a team of one,
// tau added before each match. Made once; the tests read the JSON offline.
//
//   cd "$(mktemp -d)" && npm install openskill@5.0.1 &&
//     node /path/to/tests/season/openskill_fixture.mjs > /path/to/tests/season/openskill_fixture.json
import { rating, rate } from 'openskill';

const players = ['a', 'b', 'c', 'd', 'e', 'f', 'g'];
// Rank points of each match (higher is better; equal points tie).
const matches = [
  { a: 30, b: 12, c: -3 },
  { a: 5, b: 5, c: 20, d: 1 },
  { b: 40, d: 40, e: 40 },
  { a: 7, c: 7, d: 3, e: 3, f: 50, g: -10 },
  { f: 1, g: 2 },
  { a: 100, b: 90, c: 80, d: 70, e: 60, f: 50, g: 40 },
  { g: 0, e: 0 },
];

const current = Object.fromEntries(players.map((p) => [p, rating()]));
const out = [];
for (const match of matches) {
  const names = Object.keys(match);
  const rated = rate(names.map((n) => [current[n]]), { score: names.map((n) => match[n]), tau: 25 / 300 });
  names.forEach((n, i) => { current[n] = rated[i][0]; });
  out.push({ points: match, after: Object.fromEntries(names.map((n) => [n, current[n]])) });
}
console.log(JSON.stringify({ package: 'openskill@5.0.1', matches: out }, null, 1));
