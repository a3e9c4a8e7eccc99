// Data nodes: typed, nested arrays stored in pack entries (tag byte, count,
// elements; little-endian), and the editors of the nested tables built
// from them (rows from index 4 on, each an Object[] whose element 0 is an
// int[] keyed by its element 0).
//
// Invariants: a node is read within its entry (a plain entry's stream is
// limited to the payload) and at most kMaxNodeDepth deep; a node cut short,
// too deep or past its entry reads as null (one log line). The editors
// store only inside the arrays they find, and log a slot outside them.
#pragma once

#include "runtime/array.h"

class java_io_InputStream;

namespace game {

constexpr int kMaxNodeDepth = 16;

Object* readDataNode(java_io_InputStream* s);
// Entry r of the open pack as a node (null when it cannot be read).
Object* loadDataNode(jint r);
inline Object* loadCharMap(jint r) { return loadDataNode(r); }

void setTableRowValue(ObjectArray* table, jint key, jint field, jint value);
void setTableRowSubValue(ObjectArray* table, jint key, jint sub, jint idx, jint value);
void setTableRowAttr(ObjectArray* table, jint r, jint value);
// A deep copy of an int[][] (rows copied; null rows stay null).
ObjectArray* copyIntTable(ObjectArray* table);

}  // namespace game
