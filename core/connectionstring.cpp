#include "core/connectionstring.h"

using namespace Qt::StringLiterals;

namespace kordel {

QString connectionString(const QString &databaseArgument, const QString &serverArgument)
{
    static const QString options =
        u"ReadOnly=0;Protocol=7.4;FakeOidIndex=0;ShowOidColumn=0;RowVersioning=0;ShowSystemTables=0;"
        "Fetch=100;UnknownSizes=0;MaxVarcharSize=255;MaxLongVarcharSize=8190;"
        "Debug=0;CommLog=0;UseDeclareFetch=0;TextAsLongVarchar=1;UnknownsAsLongVarchar=0;BoolsAsChar=1;"
        "Parse=0;ExtraSysTablePrefixes=;LFConversion=1;UpdatableCursors=1;"
        "TrueIsMinus1=0;BI=0;ByteaAsLongVarBinary=1;UseServerSidePrepare=1;LowerCaseIdentifier=0;D6=-101;"
        "OptionalErrors=0;XaOpt=1"_s;
    static const QString account = u";PORT=5432;UID=sys;PWD=qmzvelp;SSLmode=allow;"_s;

    // Without a server the database argument is ignored as well.
    if (serverArgument.isEmpty()) {
        return u"DRIVER={PostgreSQL UNICODE};DATABASE=kordel_erp;SERVER="_s +
               QLatin1StringView(kDefaultServerHost) + account + options;
    }
    return u"DRIVER={PostgreSQL UNICODE};DATABASE="_s + databaseArgument + u";SERVER="_s + serverArgument +
           account + options;
}

} // namespace kordel
