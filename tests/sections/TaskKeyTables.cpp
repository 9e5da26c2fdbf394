// Expected keys of the task sections, their syntax lists and the worklist tag
// items, spelled as the settings files spell them ("/Printnevent", "/Mwmscu").
#include "ExpectedKeys.h"

namespace expected {

using namespace DicomAccessLibraryCpp;

EXPECTED_TABLE(CTransferSyntax, {Field<&S::SyntaxValue>(L"/SyntaxValue", kStr)}, {})

// A syntax entry holds an abstract syntax and `transfers` transfer syntaxes.
#define SYNTAX_TABLE(Namespace, transfers)                                                  \
  EXPECTED_TABLE(Namespace::CSyntax, {Field<&S::AbstractSyntax>(L"/AbstractSyntax", kStr)}, \
                 {Nodes<&S::TransferSyntax>(L"/TransferSyntax", transfers)})
SYNTAX_TABLE(EchoScu, 1)
SYNTAX_TABLE(DetachScuGet, 1)
SYNTAX_TABLE(DetachScuPut, 1)
SYNTAX_TABLE(Printnevent, 1)
SYNTAX_TABLE(ScScuGet, 1)
SYNTAX_TABLE(ScScuPut, 1)
SYNTAX_TABLE(MppsScu, 3)
SYNTAX_TABLE(Mwmscu, 3)
SYNTAX_TABLE(PrintScu, 3)
SYNTAX_TABLE(StorageScu, 4)
#undef SYNTAX_TABLE

EXPECTED_TABLE(CEchoScuSetting,
               {Field<&S::TaskCount>(L"/EchoScu/TaskCount", kInt),
                Field<&S::RequestFolder>(L"/EchoScu/Folder/RequestFolder", kStr),
                Field<&S::WorkFolder>(L"/EchoScu/Folder/WorkFolder", kStr),
                Field<&S::ResFolder>(L"/EchoScu/Folder/ResFolder", kStr),
                Field<&S::DailyFolder>(L"/EchoScu/Folder/DailyFolder", kStr),
                Field<&S::ClientAeTitle>(L"/EchoScu/ClientAeTitle", kStr)},
               {Nodes<&S::Syntax>(L"/EchoScu/Syntax", 1)})

EXPECTED_TABLE(CStorageScuSetting,
               {Field<&S::TaskCount>(L"/StorageScu/TaskCount", kInt),
                Field<&S::RequestFolder>(L"/StorageScu/Folder/RequestFolder", kStr),
                Field<&S::WorkFolder>(L"/StorageScu/Folder/WorkFolder", kStr),
                Field<&S::ResFolder>(L"/StorageScu/Folder/ResFolder", kStr),
                Field<&S::DailyFolder>(L"/StorageScu/Folder/DailyFolder", kStr),
                Field<&S::SystemTagConvPath>(L"/StorageScu/ConvertPath/SystemTagConvPath", kStr),
                Field<&S::UserTagConvPath>(L"/StorageScu/ConvertPath/UserTagConvPath", kStr),
                Field<&S::EncodeTagConvPath>(L"/StorageScu/ConvertPath/EncodeTagConvPath", kStr)},
               {Nodes<&S::Syntax>(L"/StorageScu/Syntax", 4)})

EXPECTED_TABLE(CPrintScuSetting,
               {Field<&S::TaskCount>(L"/PrintScu/TaskCount", kInt),
                Field<&S::RequestFolder>(L"/PrintScu/Folder/RequestFolder", kStr),
                Field<&S::WorkFolder>(L"/PrintScu/Folder/WorkFolder", kStr),
                Field<&S::ResFolder>(L"/PrintScu/Folder/ResFolder", kStr),
                Field<&S::DailyFolder>(L"/PrintScu/Folder/DailyFolder", kStr),
                Field<&S::SystemTagConvPath>(L"/PrintScu/ConvertPath/SystemTagConvPath", kStr),
                Field<&S::UserTagConvPath>(L"/PrintScu/ConvertPath/UserTagConvPath", kStr),
                Field<&S::EncodeTagConvPath>(L"/PrintScu/ConvertPath/EncodeTagConvPath", kStr)},
               {Nodes<&S::Syntax>(L"/PrintScu/Syntax", 1)})

EXPECTED_TABLE(CPrintNeventSetting,
               {Field<&S::TaskCount>(L"/Printnevent/TaskCount", kInt),
                Field<&S::RequestFolder>(L"/Printnevent/Folder/RequestFolder", kStr),
                Field<&S::WorkFolder>(L"/Printnevent/Folder/WorkFolder", kStr),
                Field<&S::ResFolder>(L"/Printnevent/Folder/ResFolder", kStr),
                Field<&S::DailyFolder>(L"/Printnevent/Folder/DailyFolder", kStr)},
               {Nodes<&S::Syntax>(L"/Printnevent/Syntax", 1)})

EXPECTED_TABLE(CMediaScuSetting,
               {Field<&S::TaskCount>(L"/MediaScu/TaskCount", kInt),
                Field<&S::RequestFolder>(L"/MediaScu/Folder/RequestFolder", kStr),
                Field<&S::WorkFolder>(L"/MediaScu/Folder/WorkFolder", kStr),
                Field<&S::ResFolder>(L"/MediaScu/Folder/ResFolder", kStr),
                Field<&S::ImageFolder>(L"/MediaScu/Folder/ImageFolder", kStr),
                Field<&S::DailyFolder>(L"/MediaScu/Folder/DailyFolder", kStr)},
               {})

EXPECTED_TABLE(CScScuRecvSetting,
               {Field<&S::TaskCount>(L"/ScScuGet/TaskCount", kInt),
                Field<&S::RequestFolder>(L"/ScScuGet/Folder/RequestFolder", kStr),
                Field<&S::WorkFolder>(L"/ScScuGet/Folder/WorkFolder", kStr),
                Field<&S::ResFolder>(L"/ScScuGet/Folder/ResFolder", kStr),
                Field<&S::DailyFolder>(L"/ScScuGet/Folder/DailyFolder", kStr)},
               {Nodes<&S::Syntax>(L"/ScScuGet/Syntax", 1)})

EXPECTED_TABLE(CScScuSendSetting,
               {Field<&S::TaskCount>(L"/ScScuPut/TaskCount", kInt),
                Field<&S::RequestFolder>(L"/ScScuPut/Folder/RequestFolder", kStr),
                Field<&S::WorkFolder>(L"/ScScuPut/Folder/WorkFolder", kStr),
                Field<&S::ResFolder>(L"/ScScuPut/Folder/ResFolder", kStr),
                Field<&S::DailyFolder>(L"/ScScuPut/Folder/DailyFolder", kStr)},
               {Nodes<&S::Syntax>(L"/ScScuPut/Syntax", 1)})

EXPECTED_TABLE(CDetachScuRecvSetting,
               {Field<&S::TaskCount>(L"/DetachScuGet/TaskCount", kInt),
                Field<&S::RequestFolder>(L"/DetachScuGet/Folder/RequestFolder", kStr),
                Field<&S::WorkFolder>(L"/DetachScuGet/Folder/WorkFolder", kStr),
                Field<&S::ResFolder>(L"/DetachScuGet/Folder/ResFolder", kStr),
                Field<&S::DailyFolder>(L"/DetachScuGet/Folder/DailyFolder", kStr),
                Field<&S::OrderFolder>(L"/DetachScuGet/Folder/OrderFolder", kStr),
                Field<&S::SystemTagConvPath>(L"/DetachScuGet/ConvertPath/SystemTagConvPath", kStr)},
               {Nodes<&S::Syntax>(L"/DetachScuGet/Syntax", 2)})

EXPECTED_TABLE(CDetachScuSendSetting,
               {Field<&S::TaskCount>(L"/DetachScuPut/TaskCount", kInt),
                Field<&S::RequestFolder>(L"/DetachScuPut/Folder/RequestFolder", kStr),
                Field<&S::WorkFolder>(L"/DetachScuPut/Folder/WorkFolder", kStr),
                Field<&S::ResFolder>(L"/DetachScuPut/Folder/ResFolder", kStr),
                Field<&S::DailyFolder>(L"/DetachScuPut/Folder/DailyFolder", kStr),
                Field<&S::SystemTagConvPath>(L"/DetachScuPut/ConvertPath/SystemTagConvPath", kStr),
                Field<&S::UserTagConvPath>(L"/DetachScuPut/ConvertPath/UserTagConvPath", kStr),
                Field<&S::EncodeTagConvPath>(L"/DetachScuPut/ConvertPath/EncodeTagConvPath", kStr)},
               {Nodes<&S::Syntax>(L"/DetachScuPut/Syntax", 2)})

EXPECTED_TABLE(CMwmScuSetting,
               {Field<&S::TaskCount>(L"/Mwmscu/TaskCount", kInt),
                Field<&S::RequestFolder>(L"/Mwmscu/Folder/RequestFolder", kStr),
                Field<&S::WorkFolder>(L"/Mwmscu/Folder/WorkFolder", kStr),
                Field<&S::ResFolder>(L"/Mwmscu/Folder/ResFolder", kStr),
                Field<&S::OrderFolder>(L"/Mwmscu/Folder/OrderFolder", kStr),
                Field<&S::DailyFolder>(L"/Mwmscu/Folder/DailyFolder", kStr),
                Field<&S::CsvFile>(L"/Mwmscu/CsvFile", kStr),
                Field<&S::Port>(L"/Mwmscu/Port", kInt),
                Field<&S::Timeout>(L"/Mwmscu/Timeout", kDbl),
                Field<&S::UniqueKeyType>(L"/Mwmscu/UniqueKeyType", kInt),
                Field<&S::UniqueKeyData>(L"/Mwmscu/UniqueKeyData", kStr),
                Field<&S::MaxReceiveOrderNum>(L"/Mwmscu/MaxReceiveOrderNum", kInt)},
               {Nodes<&S::Syntax>(L"/Mwmscu/Syntax", 1)})

EXPECTED_TABLE(MwmscuInfo::CMwmscuInfo, {Field<&S::TagItem>(L"/TagItem", kStr)}, {})

EXPECTED_TABLE(CMwmScuInfoSetting, {},
               {Nodes<&S::MwmscuInfo>(L"/MwmscuInfoSetting/MwmscuInfo", 100)})

EXPECTED_TABLE(CMppsScuSetting,
               {Field<&S::TaskCount>(L"/MppsScu/TaskCount", kInt),
                Field<&S::RequestFolder>(L"/MppsScu/Folder/RequestFolder", kStr),
                Field<&S::WorkFolder>(L"/MppsScu/Folder/WorkFolder", kStr),
                Field<&S::ResFolder>(L"/MppsScu/Folder/ResFolder", kStr),
                Field<&S::DailyFolder>(L"/MppsScu/Folder/DailyFolder", kStr),
                Field<&S::SystemTagConvPath>(L"/MppsScu/ConvertPath/SystemTagConvPath", kStr),
                Field<&S::UserTagConvPath>(L"/MppsScu/ConvertPath/UserTagConvPath", kStr),
                Field<&S::EncodeTagConvPath>(L"/MppsScu/ConvertPath/EncodeTagConvPath", kStr),
                Field<&S::RisCodeSelect>(L"/MppsScu/ConvertPath/RisCodeSelect", kInt)},
               {Nodes<&S::Syntax>(L"/MppsScu/Syntax", 1)})

}  // namespace expected
