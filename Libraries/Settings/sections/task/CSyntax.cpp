// Key table of the transfer syntax element.
#include "CSyntax.h"

namespace DicomAccessLibraryCpp {
namespace {
constexpr ValueField kValues[] = {
    Value<&CTransferSyntax::SyntaxValue>(L"/SyntaxValue"),
};
}  // namespace

DICOMSETTINGS_DEFINE_ELEMENT(CTransferSyntax, kValues, kNone)

}  // namespace DicomAccessLibraryCpp
