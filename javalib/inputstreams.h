// java.io input streams: the InputStream base whose slots every readable
// stream of the program fills, DataInputStream (big-endian numbers and
// modified UTF-8 over a wrapped stream) and ByteArrayInputStream.
//
// Invariants:
//  - Every bulk read tests its array range first: a null array raises
//    java_lang_NullPointerException, a range outside the array
//    java_lang_IndexOutOfBoundsException; nothing outside is ever touched.
//  - A ByteArrayInputStream keeps 0 <= position <= count <= buffer length
//    (constructor arguments are clamped into the array) and reads the
//    caller's array in place.
//  - The fixed-size decoders and readFully either deliver every byte or
//    leave an exception pending (java_io_EOFException when the stream ends
//    early); they never loop on a stream that stops delivering.
#pragma once

#include "runtime/array.h"
#include "runtime/object.h"

class String;

class java_io_InputStream : public Object {
public:
    explicit java_io_InputStream(uint16_t classId = cid::java_io_InputStream) : Object(classId) {}

    // Slot 6: bytes stored (after the range test); len 0 answers 0. The base
    // reads single bytes through slot 8 and stops at -1.
    virtual jint read(ByteArray* b, jint off, jint len);
    // Slot 7: read(b, 0, length of b) through slot 6.
    virtual jint read(ByteArray* b);
    // Slot 8: 0-255, -1 at the end. The base has no data and answers 0.
    virtual jint read();
    // Slot 9: n <= 0 answers n; the base reads and drops n bytes.
    virtual jlong skip(jlong n);
    virtual jint available();            // slot 10
    virtual void close();                // slot 11
    virtual void mark(jint readlimit);   // slot 12
    virtual void reset();                // slot 13
    virtual jboolean markSupported();    // slot 14
};

class java_io_DataInputStream : public java_io_InputStream {
public:
    explicit java_io_DataInputStream(java_io_InputStream* in = nullptr);

    // Slots 6-14 forward to the wrapped stream.
    jint read(ByteArray* b, jint off, jint len) override;
    jint read(ByteArray* b) override;
    jint read() override;
    jlong skip(jlong n) override;
    jint available() override;
    void close() override;
    void mark(jint readlimit) override;
    void reset() override;
    jboolean markSupported() override;

    // Decoders: java_io_EOFException at the end of the stream; any
    // exception of the wrapped stream stops them (result 0 / null).
    jboolean readBoolean();
    jbyte readByte();
    jint readUnsignedByte();
    jint readUnsignedShort();
    jshort readShort();
    jchar readChar();
    jint readInt();
    jlong readLong();
    // Modified UTF-8 behind an unsigned 16-bit byte count; malformed bytes
    // raise java_io_UTFDataFormatException.
    String* readUTF();
    void readFully(ByteArray* b);
    void readFully(ByteArray* b, jint off, jint len);
    // Up to n bytes through skip; stops when skip answers 0.
    jint skipBytes(jint n);

    java_io_InputStream* m_in;
};

class java_io_ByteArrayInputStream : public java_io_InputStream {
public:
    // Over the whole array.
    explicit java_io_ByteArrayInputStream(ByteArray* buf);
    // Over buf[offset, min(offset + length, length of buf)); offset is
    // clamped into the array and a negative length gives an empty stream.
    java_io_ByteArrayInputStream(ByteArray* buf, jint offset, jint length);

    jint read(ByteArray* b, jint off, jint len) override;  // synchronised; -1 at the end
    using java_io_InputStream::read;                      // slot 7: the base's
    jint read() override;                                 // synchronised
    jlong skip(jlong n) override;                         // never past count; n < 0 answers 0
    jint available() override;
    void close() override;                                // nothing; stays readable
    void mark(jint readlimit) override;
    void reset() override;
    jboolean markSupported() override { return 1; }

    ByteArray* m_buf;
    jint m_pos;
    jint m_mark;
    jint m_count;

private:
    void registerFields();
};
