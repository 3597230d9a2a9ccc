#pragma once

#include <array>
#include <cstdint>

#include "image/tipos.h"
#include "methods/entorno.h"

namespace velarno {

// Fuzzy: for every occupied level t from 1 to 254 with pixels on both sides, measures the
// fuzziness E(t) of splitting the stored histogram at t (memberships falling with the distance
// from the rounded class means), with the entropy measure when the text of "metodoYG" is
// exactly "ENTROPY" and the Yager-type measure otherwise (read at every threshold). Takes the
// t of least E (the first among equals), then publishes the level of least three-level sum in
// a narrow interval around it. Trace: "Iniciando Algoritmo Fuzzy (<metodoYG>)", 39 "=", "";
// in step mode four lines per threshold and a prompt ("Paso a paso"; No sets `paso` to false
// and writes nothing); the interval line and ""; "Umbral encontrado: r", "", "Fuzzy
// finalizado."; then publishes.
// Ends SinResultado, with a trace line that says why and nothing published, when no threshold
// qualifies (a single grey level, or only levels 0 and 255) or when no level of the interval
// has a three-level sum below 1,000,000.
// Requires: `histograma` describes the grey levels.
Fin AlgoritmoFuzzy(Entorno& entorno, bool& paso);

// Un-normalized fuzziness of threshold t with class means u0 and u1; reads "metodoYG".
double fuzzy(Entorno& entorno, int u0, int u1, int t);
// Membership of level i in its class: 1 / (1 + d / 255), d its distance from the class mean.
double Ux(int i, int u0, int u1, int t);
// Shannon's function of a membership: 0 unless 0 < mu < 1.
double Shannon(double mu);
// Yager-type measure: square root of the sum over levels 0..255 of ((1 - mu) mu)^2.
double Yager(int u0, int u1, int t);

}  // namespace velarno
