// java.io output streams: the OutputStream base whose slots every writable
// stream of the program fills, DataOutputStream (big-endian numbers and
// modified UTF-8 into a wrapped stream), ByteArrayOutputStream (a growable
// in-memory sink), PrintStream (the text writer behind System.out and
// System.err) and ConsoleOutputStream (the console, which discards all).
//
// Invariants:
//  - Every bulk write tests its array range first (java_lang_NullPointerException
//    for a null array, java_lang_IndexOutOfBoundsException for a range
//    outside it) and writes nothing then.
//  - A ByteArrayOutputStream keeps 0 <= count <= length of buffer.
//  - PrintStream never lets a java_io_IOException out; every other
//    exception of the wrapped stream passes through.
#pragma once

#include "runtime/array.h"
#include "runtime/object.h"

class String;

class java_io_OutputStream : public Object {
public:
    explicit java_io_OutputStream(uint16_t classId = cid::java_io_OutputStream) : Object(classId) {}

    virtual void close();                                 // slot 6: nothing
    virtual void flush();                                 // slot 7: nothing
    virtual void write(jint b);                           // slot 8: the base has no sink
    // Slot 9: range test, then each byte through slot 8.
    virtual void write(ByteArray* b, jint off, jint len);
    // Slot 10: write(b, 0, length of b) through slot 9.
    virtual void write(ByteArray* b);
};

class java_io_DataOutputStream : public java_io_OutputStream {
public:
    explicit java_io_DataOutputStream(java_io_OutputStream* out = nullptr);

    // Slots 6-10 forward to the wrapped stream.
    void close() override;
    void flush() override;
    void write(jint b) override;
    void write(ByteArray* b, jint off, jint len) override;
    void write(ByteArray* b) override;

    // Encoders: one byte at a time through slot 8, stopping at the first
    // exception (a partial value may have been written then).
    void writeBoolean(jboolean v);
    void writeByte(jint v);
    void writeShort(jint v);
    void writeChar(jint v);
    void writeInt(jint v);
    void writeLong(jlong v);
    void writeChars(String* s);
    // Modified UTF-8 behind a 16-bit big-endian byte count, written with one
    // write(byte[]); an encoding longer than 65535 bytes raises
    // java_io_UTFDataFormatException and writes nothing.
    void writeUTF(String* s);

    java_io_OutputStream* m_out;
};

class java_io_ByteArrayOutputStream : public java_io_OutputStream {
public:
    java_io_ByteArrayOutputStream();  // 32-byte buffer
    // A negative size raises java_lang_IllegalArgumentException (empty buffer).
    explicit java_io_ByteArrayOutputStream(jint size);

    void close() override;                                 // sets closed; writing still works
    void flush() override {}
    void write(jint b) override;                           // synchronised
    void write(ByteArray* b, jint off, jint len) override; // synchronised
    using java_io_OutputStream::write;                     // slot 10: the base's
    String* toString() override;                           // slot 3: one char per byte
    virtual void reset();                                  // slot 11
    virtual jint size();                                   // slot 12

    // The bytes written: the buffer itself when closed and exactly full,
    // otherwise a copy of count bytes.
    ByteArray* toByteArray();

    ByteArray* m_buf;
    jint m_count;
    jbyte m_closed;

private:
    void init(jint size);
    // Room for n bytes; false (java_lang_OutOfMemoryError pending) when the
    // buffer could not grow.
    bool ensure(jlong n);
};

class java_io_PrintStream : public java_io_OutputStream {
public:
    explicit java_io_PrintStream(java_io_OutputStream* out = nullptr);

    void close() override;
    void flush() override;
    void write(jint b) override;
    void write(ByteArray* b, jint off, jint len) override;
    using java_io_OutputStream::write;

    jboolean checkError() { return 0; }

    // print(String) writes the low byte of each character; null prints "null".
    void print(String* s);
    void print(jchar c);
    void print(CharArray* s);
    void print(jboolean b);  // string-pool entries 198 / 199
    void print(jint i);
    void print(jlong l);
    void print(Object* o);   // its toString(); null prints "null"
    void println();
    void println(String* s);
    void println(Object* o);
    void println(jboolean b);
    void println(jint i);
    void println(jchar c);

    java_io_OutputStream* m_out;

private:
    void newline();
};

// The console behind System.out and System.err: everything is discarded.
class java_io_ConsoleOutputStream : public java_io_OutputStream {
public:
    java_io_ConsoleOutputStream() : java_io_OutputStream(cid::java_io_ConsoleOutputStream) {}

    void close() override {}
    void flush() override {}
    void write(jint b) override;
    void write(ByteArray* b, jint off, jint len) override;
    void write(ByteArray* b) override;
};
