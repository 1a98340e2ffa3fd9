#pragma once
// Batch options that write one file per set: a "%d" in the file name stands for the set's
// number, counted from 1.

#include "core/data/KeepGoing.h"

#include <functional>
#include <string>

namespace zqar {

class SetList;

// Whether pattern asks for one file per set.
bool namesEverySet(const std::string &pattern);

// The first "%d" of pattern replaced by number; other percent signs stay as typed.
std::string numberedName(const std::string &pattern, int number);

// Without a "%d" in pattern, writes the current set under that name. With one, writes every set
// in turn, each made current while writeSet runs, and stops at the first for which writeSet
// answers false, or when keepGoing stops it after a set (each file written is whole). The
// current set is the same afterwards.
void exportEverySet(SetList &sets, const std::string &pattern,
                    const std::function<bool(const std::string &file)> &writeSet,
                    const KeepGoing &keepGoing = {});

} // namespace zqar
