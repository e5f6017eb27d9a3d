#pragma once

#include <QString>
#include <QStringView>

// Text written into a JSON string that an HTML page carries inside a script element. Besides
// what JSON itself needs (quote, backslash, control characters), U+2028 and U+2029 are escaped
// for script engines that still end a line there, "</script" so that the HTML parser does not
// end the element early, and "<!--" so that it cannot switch the parser to a state in which
// the script's own end tag no longer ends it. The JSON value read back is the text unchanged.
namespace JsonText {

// The text between the quotes.
QString Escaped(QStringView text);
// The whole JSON string, quotes included.
QString Quoted(QStringView text);

}  // namespace JsonText
