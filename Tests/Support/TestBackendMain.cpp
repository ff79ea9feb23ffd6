// The test backend as a program: serves the API on 127.0.0.1 with one demo account.
#include "DemoSeed.h"
#include "TestBackend.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    QTextStream out(stdout);
    const QStringList arguments = app.arguments();
    bool ok = false;
    const uint port = arguments.size() == 2 ? arguments.at(1).toUInt(&ok) : 0;
    if (!ok || port == 0 || port > 65535) {
        err << "usage: tessmark-test-backend <port>\n";
        return 2;
    }
    TestBackend backend;
    DemoSeed::seed(backend);
    if (backend.start(static_cast<quint16>(port)) == 0) {
        err << "cannot listen on 127.0.0.1:" << port << "\n";
        return 1;
    }
    out << "Serving " << backend.baseUrl().toString() << "\n"
        << "Sign in as " << DemoSeed::email << " / " << DemoSeed::password << "\n";
    out.flush();
    return app.exec();
}
