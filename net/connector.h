// The native half of Connector.open: picks the connection class by the
// name's case-sensitive prefix ("http" - so "https" too -, "socket", "sms",
// "file", in that order) and constructs it (file connections are the io
// layer's); and the URL splitting that the HTTP and socket connections keep,
// over Java Strings.
//
// No input makes these crash: a null name answers null, a name matching no
// prefix answers null without an exception, a URL without "://" is logged
// with the stack trace and yields empty parts, a port that is not a decimal
// int raises java_lang_NumberFormatException (the connection is then not
// made).
#pragma once

#include <string>

#include "net/url.h"
#include "runtime/object.h"

class String;

namespace bramble::net {

// The connection object for `name`, or null (an exception may then be
// pending: that of the connection's constructor).
Object* openConnection(String* name, jint mode, jboolean timeouts);

// Splits `url` for a connection. A null URL or one without "://" logs
// "ParseConnectionURL" and the stack trace and answers false with empty
// parts; a bad port raises java_lang_NumberFormatException (message: the
// port text) and answers false with the other parts set.
bool parseConnectionUrl(String* url, ConnectionUrl& parts);

}  // namespace bramble::net

// The parts as new Strings: scheme, host and path are never null (empty when
// absent); query is null without a '?'; reference is always null. Answers
// false where parseConnectionUrl does.
bool ParseConnectionURL(String* url, String** scheme, String** host, jint* port, String** path, String** query,
                        String** reference);
