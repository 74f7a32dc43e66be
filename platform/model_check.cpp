#include "platform/model_check.h"
#ifdef ROLKWIT_MODEL_TESTER
#include <QAbstractItemModelTester>
#endif

void watchModel([[maybe_unused]] QAbstractItemModel* model)
{
#ifdef ROLKWIT_MODEL_TESTER
    new QAbstractItemModelTester(model, QAbstractItemModelTester::FailureReportingMode::Fatal, model);
#endif
}
