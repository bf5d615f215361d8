#include "CAssimpImporter.h"
#include "CImportProcess.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

#include <cstdio>

// korvel-import FILE          prints the nodes korvel-sandbox would import from FILE
// korvel-import --wire FILE   answers korvel-sandbox (binary, on standard output)

namespace {

const char* TypeWord(int objectType)
{
    switch (objectType) {
    case 1:
        return "bone";
    case 3:
        return "mesh";
    case 4:
        return "group";
    case 5:
        return "helper";
    case 21:
        return "light";
    case 23:
        return "camera";
    case 45:
        return "character";
    default:
        return "?";
    }
}

void PrintTree(const QVector<KV::CNewNode>& nodes)
{
    QVector<int> depth(nodes.size(), 0);
    for (int i = 0; i < nodes.size(); ++i) {
        const KV::CNewNode& node = nodes[i];
        depth[i] = node.parent < 0 ? 0 : depth[node.parent] + 1;
        std::printf("%*s%s  [%s]  (%.2f, %.2f, %.2f)\n", depth[i] * 2, "",
                    node.desc.name.toUtf8().constData(), TypeWord(node.desc.objectType),
                    double(node.rest.position[0]), double(node.rest.position[1]),
                    double(node.rest.position[2]));
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    const bool wire = arguments.removeAll(QStringLiteral("--wire")) > 0;
    if (arguments.size() != 1 || arguments.first().startsWith(QLatin1Char('-'))) {
        std::fprintf(stderr, "usage: korvel-import [--wire] FILE\n"
                             "Prints the nodes that korvel-sandbox imports from FILE.\n");
        return 2;
    }
    QVector<KV::CNewNode> nodes;
    QString error;
    const bool imported = KV::CAssimpImporter::Import(arguments.first(), nodes, error);
    if (wire) {
        QFile out;
        if (!out.open(stdout, QIODevice::WriteOnly))
            return 1;
        out.write(KV::CImportProcess::Encode(imported, nodes, error));
        return 0;
    }
    if (!imported) {
        std::fprintf(stderr, "%s\n", error.toUtf8().constData());
        return 1;
    }
    PrintTree(nodes);
    return 0;
}
