// The Java ME connection framework as the converted code sees it: the
// connection interfaces, javax_microedition_io_Connector's static
// operations over the connection opener, and the file connection
// ("file:///" URLs mapped into the application folder).
//
// The opener itself (scheme dispatch, HTTP, sockets, text messages) belongs
// to the connectivity layer, which registers it with setConnectionOpener;
// until then every open answers null (logged). The connectivity layer
// routes "file" URLs to javax_microedition_io_file_FileConnectionImpl::open.
//
// Interfaces are abstract classes inherited after Object; a connection
// answers their ids from getInterface.
#pragma once

#include <functional>

#include "runtime/object.h"

class String;
class java_io_InputStream;
class java_io_OutputStream;
class java_io_DataInputStream;
class java_io_DataOutputStream;

// Interface 75.
class javax_microedition_io_Connection {
public:
    virtual void close() = 0;  // slot 0

protected:
    ~javax_microedition_io_Connection() = default;
};

// Interface 81: {close, openInputStream, openDataInputStream}.
class javax_microedition_io_InputConnection : public javax_microedition_io_Connection {
public:
    virtual java_io_InputStream* openInputStream() = 0;
    virtual java_io_DataInputStream* openDataInputStream() = 0;

protected:
    ~javax_microedition_io_InputConnection() = default;
};

// Interface 82: {close, openOutputStream, openDataOutputStream}.
class javax_microedition_io_OutputConnection : public javax_microedition_io_Connection {
public:
    virtual java_io_OutputStream* openOutputStream() = 0;
    virtual java_io_DataOutputStream* openDataOutputStream() = 0;

protected:
    ~javax_microedition_io_OutputConnection() = default;
};

// Interface 86, in table order after the input-connection operations.
class javax_microedition_io_file_FileConnection : public javax_microedition_io_InputConnection {
public:
    virtual java_io_OutputStream* openOutputStream() = 0;
    virtual java_io_DataOutputStream* openDataOutputStream() = 0;
    virtual java_io_OutputStream* openOutputStream(jlong byteOffset) = 0;
    virtual jlong totalSize() = 0;
    virtual jlong availableSize() = 0;
    virtual jlong usedSize() = 0;
    virtual jlong directorySize(jboolean includeSubDirs) = 0;
    virtual jlong fileSize() = 0;
    virtual jboolean canRead() = 0;
    virtual jboolean canWrite() = 0;
    virtual jboolean isHidden() = 0;
    virtual void setReadable(jboolean readable) = 0;
    virtual void setWritable(jboolean writable) = 0;
    virtual void setHidden(jboolean hidden) = 0;
    virtual Object* list() = 0;
    virtual Object* list(String* filter, jboolean includeHidden) = 0;
    virtual void create() = 0;
    virtual void mkdir() = 0;
    virtual jboolean exists() = 0;
    virtual jboolean isDirectory() = 0;
    virtual void fileDelete() = 0;  // delete()
    virtual void rename(String* newName) = 0;
    virtual void truncate(jlong byteOffset) = 0;
    virtual String* getName() = 0;
    virtual String* getPath() = 0;
    virtual String* getURL() = 0;
    virtual jlong lastModified() = 0;

protected:
    ~javax_microedition_io_file_FileConnection() = default;
};

class javax_microedition_io_file_FileConnectionImpl : public Object, public javax_microedition_io_file_FileConnection {
public:
    // The connection for a URL: "file:///x/y" names <application folder>\x\y
    // and every folder on the way is created; any other text is the path.
    javax_microedition_io_file_FileConnectionImpl(String* url, jint mode, jboolean timeouts);
    static javax_microedition_io_file_FileConnectionImpl* open(String* url, jint mode, jboolean timeouts);

    void* getInterface(jint interfaceId) override;  // 86 and 75

    void close() override;  // forgets the paths
    // The file's bytes (java_io_IOException when it does not open).
    java_io_InputStream* openInputStream() override;
    java_io_DataInputStream* openDataInputStream() override;
    // Writes over the existing file from its start (or from byteOffset);
    // java_io_IOException when it does not exist or does not open.
    java_io_OutputStream* openOutputStream() override;
    java_io_DataOutputStream* openDataOutputStream() override;
    java_io_OutputStream* openOutputStream(jlong byteOffset) override;
    jlong totalSize() override { return 0; }
    jlong availableSize() override { return 0; }
    jlong usedSize() override { return 0; }
    jlong directorySize(jboolean) override { return 0; }
    jlong fileSize() override;  // -1 when the file does not exist
    jboolean canRead() override { return 0; }
    jboolean canWrite() override { return 0; }
    jboolean isHidden() override { return 0; }
    void setReadable(jboolean) override {}
    void setWritable(jboolean) override {}
    void setHidden(jboolean) override {}
    Object* list() override;
    Object* list(String* filter, jboolean includeHidden) override;
    void create() override;  // creates or truncates; java_io_IOException on failure
    void mkdir() override;   // creates the parent folder
    jboolean exists() override;
    jboolean isDirectory() override { return 0; }
    // Removes the file; java_io_IOException when it cannot.
    void fileDelete() override;
    // Renames within its folder; a name with a path separator raises
    // java_lang_IllegalArgumentException, a failure java_io_IOException.
    void rename(String* newName) override;
    // Cuts the file to byteOffset bytes (java_lang_IllegalArgumentException
    // when negative, java_io_IOException on failure).
    void truncate(jlong byteOffset) override;
    String* getName() override { return nullptr; }
    String* getPath() override { return nullptr; }
    String* getURL() override { return nullptr; }
    jlong lastModified() override { return 0; }

    String* m_spare;
    String* m_parentPath;
    String* m_fullPath;
    jint m_mode;
    jboolean m_timeouts;

private:
    java_io_OutputStream* openOutput(jlong byteOffset);
};

class javax_microedition_io_Connector {
public:
    static constexpr jint READ = 1;
    static constexpr jint WRITE = 2;
    static constexpr jint READ_WRITE = 3;

    static Object* open(String* name);             // READ_WRITE
    static Object* open(String* name, jint mode);  // through the registered opener
    static java_io_DataInputStream* openDataInputStream(String* name);
    static java_io_InputStream* openInputStream(String* name);
    static java_io_DataOutputStream* openDataOutputStream(String* name);
    static java_io_OutputStream* openOutputStream(String* name);
};

namespace bramble::io {
// javax_microedition_io_Connector::open(name, mode, timeouts): the
// connection object or null; exceptions are left pending.
using ConnectionOpener = std::function<Object*(String* name, jint mode, jboolean timeouts)>;
void setConnectionOpener(ConnectionOpener opener);
}  // namespace bramble::io
