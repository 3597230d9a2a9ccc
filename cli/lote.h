#pragma once

#include <QStringList>

namespace velarno {

// velarno-cli lote [--metodos todos|a,b,...] [--referencias CARPETA] [--csv FICHERO |
// --json-lineas] [--hilos N] [--parte K/N] ENTRADA...
//
// Runs every chosen method (all but the manual threshold by default) with its initial texts
// and the scroll bar at 128 on every picture: the files named and the pictures (.bmp .gif .jpg
// .jpeg .png, any case) in the folders named and their subfolders, sorted by path bytes
// without repeats; with --parte K/N only the K-th of N contiguous shares of that list. Writes
// one row per picture and method (fichero, metodo, ancho, alto, umbral, negro, ms, the six
// scores against the reference of the same base name in --referencias, error) as CSV on
// stdout or into --csv, or as JSON lines, each row in one write as soon as its picture and
// every earlier one are done. Pictures run on --hilos workers (all cores by default). A
// picture that cannot be read (or not in the memory left) gives one row with its message.
// SIGINT and SIGTERM stop the batch once the picture being written is written.
//
// Returns the exit status: 0 done; 2 bad usage (the message and the usage on stderr); 3 a
// picture or reference could not be read, the reference folder cannot be listed or the output
// cannot be written; 130 interrupted.
int ejecutarLote(const QStringList& argumentos);

}  // namespace velarno
