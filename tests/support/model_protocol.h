#pragma once
#include <QAbstractItemModelTester>
#include <QStringList>
#include <memory>

// Qt's model tester on a model for as long as this lives: what it finds wrong with the model's
// answers and signals is collected for the test to check (faults()) instead of ending the run.
class ModelProtocol {
public:
    explicit ModelProtocol(QAbstractItemModel* model)
    {
        seen().clear();
        previous() = qInstallMessageHandler(collect);
        tester_ =
            std::make_unique<QAbstractItemModelTester>(model, QAbstractItemModelTester::FailureReportingMode::Warning);
    }
    ~ModelProtocol()
    {
        tester_.reset();
        qInstallMessageHandler(previous());
    }
    ModelProtocol(const ModelProtocol&) = delete;
    ModelProtocol& operator=(const ModelProtocol&) = delete;

    // What the tester found, one fault a line; empty when the model kept to the rules.
    std::string faults() const { return seen().join('\n').toStdString(); }

private:
    static QStringList& seen()
    {
        static QStringList faults;
        return faults;
    }
    static QtMessageHandler& previous()
    {
        static QtMessageHandler handler = nullptr;
        return handler;
    }
    static void collect(QtMsgType type, const QMessageLogContext& context, const QString& text)
    {
        if (qstrcmp(context.category, "qt.modeltest") == 0) {
            if (type != QtDebugMsg) seen() << text;
        } else if (previous()) {
            previous()(type, context, text);
        }
    }

    std::unique_ptr<QAbstractItemModelTester> tester_;
};
