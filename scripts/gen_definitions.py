#!/usr/bin/env python3
"""Generates the four definition documents of the engine.

This script is the single source of truth for every column rule and every output binding:

  definitions/CRSValidateDefine.xml      resource 205, validation, schema 1.0
  definitions/CRSDataConvDefine.xml      resource 206, conversion, schema 1.0
  definitions/CRSValidateDefine_2.0.xml  resource 207, validation, schema 2.0
  definitions/CRSDataConvDefine_2.0.xml  resource 208, conversion, schema 2.0

It also writes engine/csv/CRSColumns.h, the named positions of the columns that the engine reads
by position (cross-record rules, the account-holder rule, linking, identifiers), so that those
numbers come from the same layout as the documents.

Run `python3 scripts/gen_definitions.py` to rewrite them, or with `--check` to fail when the
committed files are stale. Python 3 standard library only.

The column layout below holds one line per CSV column:

  column | item id | rules (schema 1.0) | output element or attribute

Rule notation (clauses separated by ";", run in the order written, the first failure ends the item):
  exist, notExist                 rule without parameter
  length N / length max N / length A..B
                                  "length" with value N / max N / min A and max B
  charSet X, contain L, format F, codeCheck L, integrity M
                                  rule with value X, L, F or M (a list keeps its single spaces)
  dateRange after D               "dateRange" with min D
  (message HExxxxxE)              after a rule: its messageId
  if given: R, R                  each rule R gets one outer "exist" on the item's own column
  if cN given: R, R               each rule R gets one outer "exist" on column N
  if cN in L: R, R                each rule R gets one outer "contain" with value L on column N
  exist if cN given               one "exist" with an outer "exist" on column N
  exist if any of cA, cB-cC given one such "exist" per listed column, in that order
Output: path below the report element, [k] for the k-th of a repeated element, a prefix where the
namespace is not crs, "@name" for an attribute, "(split)" for a slash-separated list, "-" for none.
"""
import argparse
import copy
import re
import sys
from dataclasses import dataclass, field
from pathlib import Path
from typing import Dict, List, Optional, Tuple

# (kind, report id of the validation documents, number of own columns)
RECORD_KINDS = [
    (1, "MessageSpecReportingFI", 45),
    (2, "AccountReport", 150),
    (3, "ControllingPerson", 100),
    (4, "Payment", 5),
]

LAST_COLUMN = 150

COLUMN_LAYOUT = """
--- kind 1
2      | Version                    | exist; length 3; charSet latinString; contain 1.0 | CRS_OECD @version
3      | Warning                    | if given: length max 400, charSet latinString | MessageSpec/Warning
4      | Contact                    | if given: length max 400, charSet latinString | MessageSpec/Contact
5      | MessageRefId               | exist; length max 49; charSet MessageRefId; format MessageRefId | MessageSpec/MessageRefId
6      | MessageTypeIndic           | if given: contain CRS701 CRS702 | MessageSpec/MessageTypeIndic
7      | ReportingPeriod            | exist; format date; dateRange after 2016-12-31 | MessageSpec/ReportingPeriod
8      | IN_1@IN                    | exist if any of c9, c10 given; if given: length max 100, charSet latinString | ReportingFI/IN[1]
9      | IN_1@issuedBy              | if given: codeCheck country | ReportingFI/IN[1] @issuedBy
10     | IN_1@INType                | if given: length max 30, charSet latinString | ReportingFI/IN[1] @INType
11     | IN_2@IN                    | exist if any of c12, c13 given; if given: length max 100, charSet latinString | ReportingFI/IN[2]
12     | IN_2@issuedBy              | if given: codeCheck country | ReportingFI/IN[2] @issuedBy
13     | IN_2@INType                | if given: length max 30, charSet latinString | ReportingFI/IN[2] @INType
14     | IN_3@IN                    | exist if any of c15, c16 given; if given: length max 100, charSet latinString | ReportingFI/IN[3]
15     | IN_3@issuedBy              | if given: codeCheck country | ReportingFI/IN[3] @issuedBy
16     | IN_3@INType                | if given: length max 30, charSet latinString | ReportingFI/IN[3] @INType
17     | IN_4@IN                    | exist if any of c18, c19 given; if given: length max 100, charSet latinString | ReportingFI/IN[4]
18     | IN_4@issuedBy              | if given: codeCheck country | ReportingFI/IN[4] @issuedBy
19     | IN_4@INType                | if given: length max 30, charSet latinString | ReportingFI/IN[4] @INType
20     | IN_5@IN                    | exist if any of c21, c22 given; if given: length max 100, charSet latinString | ReportingFI/IN[5]
21     | IN_5@issuedBy              | if given: codeCheck country | ReportingFI/IN[5] @issuedBy
22     | IN_5@INType                | if given: length max 30, charSet latinString | ReportingFI/IN[5] @INType
23     | Name_1_Name                | exist; length max 200; charSet latinString | ReportingFI/Name[1]
24     | Name_1@nameType            | if given: contain OECD202 OECD203 OECD204 OECD205 OECD206 OECD207 OECD208 | ReportingFI/Name[1] @nameType
25     | Name_2_Name                | exist if c26 given; if given: length max 200, charSet latinString | ReportingFI/Name[2]
26     | Name_2@nameType            | if given: contain OECD202 OECD203 OECD204 OECD205 OECD206 OECD207 OECD208 | ReportingFI/Name[2] @nameType
27     | Name_3_Name                | exist if c28 given; if given: length max 200, charSet latinString | ReportingFI/Name[3]
28     | Name_3@nameType            | if given: contain OECD202 OECD203 OECD204 OECD205 OECD206 OECD207 OECD208 | ReportingFI/Name[3] @nameType
29     | Name_4_Name                | exist if c30 given; if given: length max 200, charSet latinString | ReportingFI/Name[4]
30     | Name_4@nameType            | if given: contain OECD202 OECD203 OECD204 OECD205 OECD206 OECD207 OECD208 | ReportingFI/Name[4] @nameType
31     | Name_5_Name                | exist if c32 given; if given: length max 200, charSet latinString | ReportingFI/Name[5]
32     | Name_5@nameType            | if given: contain OECD202 OECD203 OECD204 OECD205 OECD206 OECD207 OECD208 | ReportingFI/Name[5] @nameType
33     | Address_1_AddressFree      | exist; length max 300; charSet latinString | ReportingFI/Address[1]/cfc:AddressFree
34     | Address_1@legalAddressType | if given: contain OECD301 OECD302 OECD303 OECD304 OECD305 | ReportingFI/Address[1] @legalAddressType
35     | Address_2_AddressFree      | exist if c36 given; if given: length max 300, charSet latinString | ReportingFI/Address[2]/cfc:AddressFree
36     | Address_2@legalAddressType | if given: contain OECD301 OECD302 OECD303 OECD304 OECD305 | ReportingFI/Address[2] @legalAddressType
37     | Address_3_AddressFree      | exist if c38 given; if given: length max 300, charSet latinString | ReportingFI/Address[3]/cfc:AddressFree
38     | Address_3@legalAddressType | if given: contain OECD301 OECD302 OECD303 OECD304 OECD305 | ReportingFI/Address[3] @legalAddressType
39     | Address_4_AddressFree      | exist if c40 given; if given: length max 300, charSet latinString | ReportingFI/Address[4]/cfc:AddressFree
40     | Address_4@legalAddressType | if given: contain OECD301 OECD302 OECD303 OECD304 OECD305 | ReportingFI/Address[4] @legalAddressType
41     | Address_5_AddressFree      | exist if c42 given; if given: length max 300, charSet latinString | ReportingFI/Address[5]/cfc:AddressFree
42     | Address_5@legalAddressType | if given: contain OECD301 OECD302 OECD303 OECD304 OECD305 | ReportingFI/Address[5] @legalAddressType
43     | DocTypeIndic               | exist; contain OECD0 OECD1 OECD2 OECD3; if c6 in CRS701: contain OECD0 OECD1; if c6 in CRS702: contain OECD0 OECD2 OECD3 | ReportingFI/DocSpec/stf:DocTypeIndic
44     | DocRefId                   | exist; length max 58; charSet latinString; format DocRefId_FI; if c43 in OECD0: integrity DocRefId_A; if c43 in OECD1 OECD2 OECD3: integrity DocRefId_B | ReportingFI/DocSpec/stf:DocRefId
45     | CorrDocRefId               | if c43 in OECD0 OECD1: notExist; if c43 in OECD2 OECD3: exist; if given: length max 58, charSet latinString, format CorrDocRefId_FI; if c43 in OECD2 OECD3: integrity CorrDocRefId_A, integrity CorrDocRefId_B | ReportingFI/DocSpec/stf:CorrDocRefId
46-150 | EmptyColumn46..150         | notExist | -
--- kind 2
2   | DocTypeIndic                             | exist; contain OECD1 OECD2 OECD3 | AccountReport/DocSpec/stf:DocTypeIndic
3   | DocRefId                                 | exist; length max 58; charSet latinString; format DocRefId_AC | AccountReport/DocSpec/stf:DocRefId
4   | CorrDocRefId                             | if c2 in OECD1: notExist; if c2 in OECD2 OECD3: exist; if given: length max 58, charSet latinString, format CorrDocRefId_AC | AccountReport/DocSpec/stf:CorrDocRefId
5   | AccountNumber                            | exist; length max 200; charSet latinString | AccountReport/AccountNumber
6   | AccountNumber@AcctNumberType             | if given: contain OECD601 OECD602 OECD603 OECD604 OECD605 | AccountReport/AccountNumber @AcctNumberType
7   | AccountNumber@UndocumentedAccount        | if given: contain true false | AccountReport/AccountNumber @UndocumentedAccount
8   | AccountNumber@ClosedAccount              | if given: contain true false | AccountReport/AccountNumber @ClosedAccount
9   | AccountNumber@DormantAccount             | if given: contain true false | AccountReport/AccountNumber @DormantAccount
10  | Individual_ResCountryCode                | if given: length max 900, codeCheck countries | AccountReport/AccountHolder/Individual/ResCountryCode (split)
11  | Individual_TIN_1_TIN                     | exist if c12 given; if given: length max 100, charSet latinString | AccountReport/AccountHolder/Individual/TIN[1]
12  | Individual_TIN_1@issuedBy                | if given: codeCheck country | AccountReport/AccountHolder/Individual/TIN[1] @issuedBy
13  | Individual_TIN_2_TIN                     | exist if c14 given; if given: length max 100, charSet latinString | AccountReport/AccountHolder/Individual/TIN[2]
14  | Individual_TIN_2@issuedBy                | if given: codeCheck country | AccountReport/AccountHolder/Individual/TIN[2] @issuedBy
15  | Individual_TIN_3_TIN                     | exist if c16 given; if given: length max 100, charSet latinString | AccountReport/AccountHolder/Individual/TIN[3]
16  | Individual_TIN_3@issuedBy                | if given: codeCheck country | AccountReport/AccountHolder/Individual/TIN[3] @issuedBy
17  | Individual_TIN_4_TIN                     | exist if c18 given; if given: length max 100, charSet latinString | AccountReport/AccountHolder/Individual/TIN[4]
18  | Individual_TIN_4@issuedBy                | if given: codeCheck country | AccountReport/AccountHolder/Individual/TIN[4] @issuedBy
19  | Individual_TIN_5_TIN                     | exist if c20 given; if given: length max 100, charSet latinString | AccountReport/AccountHolder/Individual/TIN[5]
20  | Individual_TIN_5@issuedBy                | if given: codeCheck country | AccountReport/AccountHolder/Individual/TIN[5] @issuedBy
21  | Individual_Name_1_PrecedingTitle         | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[1]/PrecedingTitle
22  | Individual_Name_1_Title                  | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[1]/Title
23  | Individual_Name_1_FirstName              | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[1]/FirstName
24  | Individual_Name_1_FirstName@xnlNameType  | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[1]/FirstName @xnlNameType
25  | Individual_Name_1_MiddleName             | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[1]/MiddleName
26  | Individual_Name_1_MiddleName@xnlNameType | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[1]/MiddleName @xnlNameType
27  | Individual_Name_1_NamePrefix             | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[1]/NamePrefix
28  | Individual_Name_1_NamePrefix@xnlNameType | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[1]/NamePrefix @xnlNameType
29  | Individual_Name_1_LastName               | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[1]/LastName
30  | Individual_Name_1_LastName@xnlNameType   | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[1]/LastName @xnlNameType
31  | Individual_Name_1_GenerationIdentifier   | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[1]/GenerationIdentifier
32  | Individual_Name_1_Suffix                 | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[1]/Suffix
33  | Individual_Name_1_GeneralSuffix          | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[1]/GeneralSuffix
34  | Individual_Name_1@nameType               | if given: contain OECD202 OECD203 OECD204 OECD205 OECD206 OECD207 OECD208 | AccountReport/AccountHolder/Individual/Name[1] @nameType
35  | Individual_Name_2_PrecedingTitle         | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[2]/PrecedingTitle
36  | Individual_Name_2_Title                  | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[2]/Title
37  | Individual_Name_2_FirstName              | exist if any of c35, c36, c38-c48 given; if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[2]/FirstName
38  | Individual_Name_2_FirstName@xnlNameType  | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[2]/FirstName @xnlNameType
39  | Individual_Name_2_MiddleName             | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[2]/MiddleName
40  | Individual_Name_2_MiddleName@xnlNameType | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[2]/MiddleName @xnlNameType
41  | Individual_Name_2_NamePrefix             | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[2]/NamePrefix
42  | Individual_Name_2_NamePrefix@xnlNameType | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[2]/NamePrefix @xnlNameType
43  | Individual_Name_2_LastName               | exist if any of c35-c42, c44-c48 given; if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[2]/LastName
44  | Individual_Name_2_LastName@xnlNameType   | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[2]/LastName @xnlNameType
45  | Individual_Name_2_GenerationIdentifier   | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[2]/GenerationIdentifier
46  | Individual_Name_2_Suffix                 | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[2]/Suffix
47  | Individual_Name_2_GeneralSuffix          | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[2]/GeneralSuffix
48  | Individual_Name_2@nameType               | if given: contain OECD202 OECD203 OECD204 OECD205 OECD206 OECD207 OECD208 | AccountReport/AccountHolder/Individual/Name[2] @nameType
49  | Individual_Name_3_PrecedingTitle         | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[3]/PrecedingTitle
50  | Individual_Name_3_Title                  | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[3]/Title
51  | Individual_Name_3_FirstName              | exist if any of c49, c50, c52-c62 given; if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[3]/FirstName
52  | Individual_Name_3_FirstName@xnlNameType  | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[3]/FirstName @xnlNameType
53  | Individual_Name_3_MiddleName             | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[3]/MiddleName
54  | Individual_Name_3_MiddleName@xnlNameType | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[3]/MiddleName @xnlNameType
55  | Individual_Name_3_NamePrefix             | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[3]/NamePrefix
56  | Individual_Name_3_NamePrefix@xnlNameType | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[3]/NamePrefix @xnlNameType
57  | Individual_Name_3_LastName               | exist if any of c49-c56, c58-c62 given; if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[3]/LastName
58  | Individual_Name_3_LastName@xnlNameType   | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[3]/LastName @xnlNameType
59  | Individual_Name_3_GenerationIdentifier   | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[3]/GenerationIdentifier
60  | Individual_Name_3_Suffix                 | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[3]/Suffix
61  | Individual_Name_3_GeneralSuffix          | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[3]/GeneralSuffix
62  | Individual_Name_3@nameType               | if given: contain OECD202 OECD203 OECD204 OECD205 OECD206 OECD207 OECD208 | AccountReport/AccountHolder/Individual/Name[3] @nameType
63  | Individual_Name_4_PrecedingTitle         | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[4]/PrecedingTitle
64  | Individual_Name_4_Title                  | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[4]/Title
65  | Individual_Name_4_FirstName              | exist if any of c63, c64, c66-c76 given; if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[4]/FirstName
66  | Individual_Name_4_FirstName@xnlNameType  | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[4]/FirstName @xnlNameType
67  | Individual_Name_4_MiddleName             | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[4]/MiddleName
68  | Individual_Name_4_MiddleName@xnlNameType | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[4]/MiddleName @xnlNameType
69  | Individual_Name_4_NamePrefix             | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[4]/NamePrefix
70  | Individual_Name_4_NamePrefix@xnlNameType | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[4]/NamePrefix @xnlNameType
71  | Individual_Name_4_LastName               | exist if any of c63-c70, c72-c76 given; if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[4]/LastName
72  | Individual_Name_4_LastName@xnlNameType   | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[4]/LastName @xnlNameType
73  | Individual_Name_4_GenerationIdentifier   | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[4]/GenerationIdentifier
74  | Individual_Name_4_Suffix                 | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[4]/Suffix
75  | Individual_Name_4_GeneralSuffix          | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[4]/GeneralSuffix
76  | Individual_Name_4@nameType               | if given: contain OECD202 OECD203 OECD204 OECD205 OECD206 OECD207 OECD208 | AccountReport/AccountHolder/Individual/Name[4] @nameType
77  | Individual_Name_5_PrecedingTitle         | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[5]/PrecedingTitle
78  | Individual_Name_5_Title                  | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[5]/Title
79  | Individual_Name_5_FirstName              | exist if any of c77, c78, c80-c90 given; if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[5]/FirstName
80  | Individual_Name_5_FirstName@xnlNameType  | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[5]/FirstName @xnlNameType
81  | Individual_Name_5_MiddleName             | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[5]/MiddleName
82  | Individual_Name_5_MiddleName@xnlNameType | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[5]/MiddleName @xnlNameType
83  | Individual_Name_5_NamePrefix             | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[5]/NamePrefix
84  | Individual_Name_5_NamePrefix@xnlNameType | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[5]/NamePrefix @xnlNameType
85  | Individual_Name_5_LastName               | exist if any of c77-c84, c86-c90 given; if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[5]/LastName
86  | Individual_Name_5_LastName@xnlNameType   | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[5]/LastName @xnlNameType
87  | Individual_Name_5_GenerationIdentifier   | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[5]/GenerationIdentifier
88  | Individual_Name_5_Suffix                 | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[5]/Suffix
89  | Individual_Name_5_GeneralSuffix          | if given: length max 50, charSet latinString | AccountReport/AccountHolder/Individual/Name[5]/GeneralSuffix
90  | Individual_Name_5@nameType               | if given: contain OECD202 OECD203 OECD204 OECD205 OECD206 OECD207 OECD208 | AccountReport/AccountHolder/Individual/Name[5] @nameType
91  | Individual_Address_1_CountryCode         | if given: codeCheck country | AccountReport/AccountHolder/Individual/Address[1]/cfc:CountryCode
92  | Individual_Address_1_AddressFree         | if given: length max 300, charSet latinString | AccountReport/AccountHolder/Individual/Address[1]/cfc:AddressFree
93  | Individual_Address_1@legalAddressType    | if given: contain OECD301 OECD302 OECD303 OECD304 OECD305 | AccountReport/AccountHolder/Individual/Address[1] @legalAddressType
94  | Individual_Address_2_CountryCode         | exist if any of c95, c96 given; if given: codeCheck country | AccountReport/AccountHolder/Individual/Address[2]/cfc:CountryCode
95  | Individual_Address_2_AddressFree         | exist if any of c94, c96 given; if given: length max 300, charSet latinString | AccountReport/AccountHolder/Individual/Address[2]/cfc:AddressFree
96  | Individual_Address_2@legalAddressType    | if given: contain OECD301 OECD302 OECD303 OECD304 OECD305 | AccountReport/AccountHolder/Individual/Address[2] @legalAddressType
97  | Individual_Address_3_CountryCode         | exist if any of c98, c99 given; if given: codeCheck country | AccountReport/AccountHolder/Individual/Address[3]/cfc:CountryCode
98  | Individual_Address_3_AddressFree         | exist if any of c97, c99 given; if given: length max 300, charSet latinString | AccountReport/AccountHolder/Individual/Address[3]/cfc:AddressFree
99  | Individual_Address_3@legalAddressType    | if given: contain OECD301 OECD302 OECD303 OECD304 OECD305 | AccountReport/AccountHolder/Individual/Address[3] @legalAddressType
100 | Individual_Address_4_CountryCode         | exist if any of c101, c102 given; if given: codeCheck country | AccountReport/AccountHolder/Individual/Address[4]/cfc:CountryCode
101 | Individual_Address_4_AddressFree         | exist if any of c100, c102 given; if given: length max 300, charSet latinString | AccountReport/AccountHolder/Individual/Address[4]/cfc:AddressFree
102 | Individual_Address_4@legalAddressType    | if given: contain OECD301 OECD302 OECD303 OECD304 OECD305 | AccountReport/AccountHolder/Individual/Address[4] @legalAddressType
103 | Individual_Address_5_CountryCode         | exist if any of c104, c105 given; if given: codeCheck country | AccountReport/AccountHolder/Individual/Address[5]/cfc:CountryCode
104 | Individual_Address_5_AddressFree         | exist if any of c103, c105 given; if given: length max 300, charSet latinString | AccountReport/AccountHolder/Individual/Address[5]/cfc:AddressFree
105 | Individual_Address_5@legalAddressType    | if given: contain OECD301 OECD302 OECD303 OECD304 OECD305 | AccountReport/AccountHolder/Individual/Address[5] @legalAddressType
106 | Individual_BirthDate                     | if given: format date, dateRange after 1899-12-31 | AccountReport/AccountHolder/Individual/BirthInfo/BirthDate
107 | Organisation_ResCountryCode              | if given: length max 900, codeCheck countries | AccountReport/AccountHolder/Organisation/ResCountryCode (split)
108 | Organisation_IN_1_IN                     | exist if any of c109, c110 given; if given: length max 100, charSet latinString | AccountReport/AccountHolder/Organisation/IN[1]
109 | Organisation_IN_1@issuedBy               | if given: codeCheck country | AccountReport/AccountHolder/Organisation/IN[1] @issuedBy
110 | Organisation_IN_1@INType                 | if given: length max 30, charSet latinString | AccountReport/AccountHolder/Organisation/IN[1] @INType
111 | Organisation_IN_2_IN                     | exist if any of c112, c113 given; if given: length max 100, charSet latinString | AccountReport/AccountHolder/Organisation/IN[2]
112 | Organisation_IN_2@issuedBy               | if given: codeCheck country | AccountReport/AccountHolder/Organisation/IN[2] @issuedBy
113 | Organisation_IN_2@INType                 | if given: length max 30, charSet latinString | AccountReport/AccountHolder/Organisation/IN[2] @INType
114 | Organisation_IN_3_IN                     | exist if any of c115, c116 given; if given: length max 100, charSet latinString | AccountReport/AccountHolder/Organisation/IN[3]
115 | Organisation_IN_3@issuedBy               | if given: codeCheck country | AccountReport/AccountHolder/Organisation/IN[3] @issuedBy
116 | Organisation_IN_3@INType                 | if given: length max 30, charSet latinString | AccountReport/AccountHolder/Organisation/IN[3] @INType
117 | Organisation_IN_4_IN                     | exist if any of c118, c119 given; if given: length max 100, charSet latinString | AccountReport/AccountHolder/Organisation/IN[4]
118 | Organisation_IN_4@issuedBy               | if given: codeCheck country | AccountReport/AccountHolder/Organisation/IN[4] @issuedBy
119 | Organisation_IN_4@INType                 | if given: length max 30, charSet latinString | AccountReport/AccountHolder/Organisation/IN[4] @INType
120 | Organisation_IN_5_IN                     | exist if any of c121, c122 given; if given: length max 100, charSet latinString | AccountReport/AccountHolder/Organisation/IN[5]
121 | Organisation_IN_5@issuedBy               | if given: codeCheck country | AccountReport/AccountHolder/Organisation/IN[5] @issuedBy
122 | Organisation_IN_5@INType                 | if given: length max 30, charSet latinString | AccountReport/AccountHolder/Organisation/IN[5] @INType
123 | Organisation_Name_1_Name                 | if given: length max 200, charSet latinString | AccountReport/AccountHolder/Organisation/Name[1]
124 | Organisation_Name_1@nameType             | if given: contain OECD202 OECD203 OECD204 OECD205 OECD206 OECD207 OECD208 | AccountReport/AccountHolder/Organisation/Name[1] @nameType
125 | Organisation_Name_2_Name                 | exist if c126 given; if given: length max 200, charSet latinString | AccountReport/AccountHolder/Organisation/Name[2]
126 | Organisation_Name_2@nameType             | if given: contain OECD202 OECD203 OECD204 OECD205 OECD206 OECD207 OECD208 | AccountReport/AccountHolder/Organisation/Name[2] @nameType
127 | Organisation_Name_3_Name                 | exist if c128 given; if given: length max 200, charSet latinString | AccountReport/AccountHolder/Organisation/Name[3]
128 | Organisation_Name_3@nameType             | if given: contain OECD202 OECD203 OECD204 OECD205 OECD206 OECD207 OECD208 | AccountReport/AccountHolder/Organisation/Name[3] @nameType
129 | Organisation_Name_4_Name                 | exist if c130 given; if given: length max 200, charSet latinString | AccountReport/AccountHolder/Organisation/Name[4]
130 | Organisation_Name_4@nameType             | if given: contain OECD202 OECD203 OECD204 OECD205 OECD206 OECD207 OECD208 | AccountReport/AccountHolder/Organisation/Name[4] @nameType
131 | Organisation_Name_5_Name                 | exist if c132 given; if given: length max 200, charSet latinString | AccountReport/AccountHolder/Organisation/Name[5]
132 | Organisation_Name_5@nameType             | if given: contain OECD202 OECD203 OECD204 OECD205 OECD206 OECD207 OECD208 | AccountReport/AccountHolder/Organisation/Name[5] @nameType
133 | Organisation_Address_1_CountryCode       | if given: codeCheck country | AccountReport/AccountHolder/Organisation/Address[1]/cfc:CountryCode
134 | Organisation_Address_1_AddressFree       | if given: length max 300, charSet latinString | AccountReport/AccountHolder/Organisation/Address[1]/cfc:AddressFree
135 | Organisation_Address_1@legalAddressType  | if given: contain OECD301 OECD302 OECD303 OECD304 OECD305 | AccountReport/AccountHolder/Organisation/Address[1] @legalAddressType
136 | Organisation_Address_2_CountryCode       | exist if any of c137, c138 given; if given: codeCheck country | AccountReport/AccountHolder/Organisation/Address[2]/cfc:CountryCode
137 | Organisation_Address_2_AddressFree       | exist if any of c136, c138 given; if given: length max 300, charSet latinString | AccountReport/AccountHolder/Organisation/Address[2]/cfc:AddressFree
138 | Organisation_Address_2@legalAddressType  | if given: contain OECD301 OECD302 OECD303 OECD304 OECD305 | AccountReport/AccountHolder/Organisation/Address[2] @legalAddressType
139 | Organisation_Address_3_CountryCode       | exist if any of c140, c141 given; if given: codeCheck country | AccountReport/AccountHolder/Organisation/Address[3]/cfc:CountryCode
140 | Organisation_Address_3_AddressFree       | exist if any of c139, c141 given; if given: length max 300, charSet latinString | AccountReport/AccountHolder/Organisation/Address[3]/cfc:AddressFree
141 | Organisation_Address_3@legalAddressType  | if given: contain OECD301 OECD302 OECD303 OECD304 OECD305 | AccountReport/AccountHolder/Organisation/Address[3] @legalAddressType
142 | Organisation_Address_4_CountryCode       | exist if any of c143, c144 given; if given: codeCheck country | AccountReport/AccountHolder/Organisation/Address[4]/cfc:CountryCode
143 | Organisation_Address_4_AddressFree       | exist if any of c142, c144 given; if given: length max 300, charSet latinString | AccountReport/AccountHolder/Organisation/Address[4]/cfc:AddressFree
144 | Organisation_Address_4@legalAddressType  | if given: contain OECD301 OECD302 OECD303 OECD304 OECD305 | AccountReport/AccountHolder/Organisation/Address[4] @legalAddressType
145 | Organisation_Address_5_CountryCode       | exist if any of c146, c147 given; if given: codeCheck country | AccountReport/AccountHolder/Organisation/Address[5]/cfc:CountryCode
146 | Organisation_Address_5_AddressFree       | exist if any of c145, c147 given; if given: length max 300, charSet latinString | AccountReport/AccountHolder/Organisation/Address[5]/cfc:AddressFree
147 | Organisation_Address_5@legalAddressType  | if given: contain OECD301 OECD302 OECD303 OECD304 OECD305 | AccountReport/AccountHolder/Organisation/Address[5] @legalAddressType
148 | Organisation_AcctHolderType              | if given: contain CRS101 CRS102 CRS103 | AccountReport/AccountHolder/AcctHolderType
149 | AccountBalance                           | exist; length max 16; charSet fugoNumber; format decimal; if c8 in true: contain 0 0.0 0.00 | AccountBalance/AccountBalance
150 | currCode                                 | exist; codeCheck currency | AccountBalance/AccountBalance @currCode
--- kind 3
2       | DocRefId                                 | exist; length max 58; charSet latinString; format DocRefId_AC | -
3       | Individual_ResCountryCode                | exist; length max 900; codeCheck countries | ControllingPerson/Individual/ResCountryCode (split)
4       | Individual_TIN_1@TIN                     | exist if c5 given; if given: length max 100, charSet latinString | ControllingPerson/Individual/TIN[1]
5       | Individual_TIN_1@issuedBy                | if given: codeCheck country | ControllingPerson/Individual/TIN[1] @issuedBy
6       | Individual_TIN_2@TIN                     | exist if c7 given; if given: length max 100, charSet latinString | ControllingPerson/Individual/TIN[2]
7       | Individual_TIN_2@issuedBy                | if given: codeCheck country | ControllingPerson/Individual/TIN[2] @issuedBy
8       | Individual_TIN_3@TIN                     | exist if c9 given; if given: length max 100, charSet latinString | ControllingPerson/Individual/TIN[3]
9       | Individual_TIN_3@issuedBy                | if given: codeCheck country | ControllingPerson/Individual/TIN[3] @issuedBy
10      | Individual_TIN_4@TIN                     | exist if c11 given; if given: length max 100, charSet latinString | ControllingPerson/Individual/TIN[4]
11      | Individual_TIN_4@issuedBy                | if given: codeCheck country | ControllingPerson/Individual/TIN[4] @issuedBy
12      | Individual_TIN_5@TIN                     | exist if c13 given; if given: length max 100, charSet latinString | ControllingPerson/Individual/TIN[5]
13      | Individual_TIN_5@issuedBy                | if given: codeCheck country | ControllingPerson/Individual/TIN[5] @issuedBy
14      | Individual_Name_1_PrecedingTitle         | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[1]/PrecedingTitle
15      | Individual_Name_1_Title                  | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[1]/Title
16      | Individual_Name_1_FirstName              | exist; length max 50; charSet latinString | ControllingPerson/Individual/Name[1]/FirstName
17      | Individual_Name_1_FirstName@xnlNameType  | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[1]/FirstName @xnlNameType
18      | Individual_Name_1_MiddleName             | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[1]/MiddleName
19      | Individual_Name_1_MiddleName@xnlNameType | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[1]/MiddleName @xnlNameType
20      | Individual_Name_1_NamePrefix             | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[1]/NamePrefix
21      | Individual_Name_1_NamePrefix@xnlNameType | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[1]/NamePrefix @xnlNameType
22      | Individual_Name_1_LastName               | exist; length max 50; charSet latinString | ControllingPerson/Individual/Name[1]/LastName
23      | Individual_Name_1_LastName@xnlNameType   | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[1]/LastName @xnlNameType
24      | Individual_Name_1_GenerationIdentifier   | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[1]/GenerationIdentifier
25      | Individual_Name_1_Suffix                 | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[1]/Suffix
26      | Individual_Name_1_GeneralSuffix          | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[1]/GeneralSuffix
27      | Individual_Name_1@nameType               | if given: contain OECD202 OECD203 OECD204 OECD205 OECD206 OECD207 OECD208 | ControllingPerson/Individual/Name[1] @nameType
28      | Individual_Name_2_PrecedingTitle         | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[2]/PrecedingTitle
29      | Individual_Name_2_Title                  | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[2]/Title
30      | Individual_Name_2_FirstName              | exist if any of c28, c29, c31-c41 given; if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[2]/FirstName
31      | Individual_Name_2_FirstName@xnlNameType  | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[2]/FirstName @xnlNameType
32      | Individual_Name_2_MiddleName             | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[2]/MiddleName
33      | Individual_Name_2_MiddleName@xnlNameType | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[2]/MiddleName @xnlNameType
34      | Individual_Name_2_NamePrefix             | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[2]/NamePrefix
35      | Individual_Name_2_NamePrefix@xnlNameType | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[2]/NamePrefix @xnlNameType
36      | Individual_Name_2_LastName               | exist if any of c28-c35, c37-c41 given; if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[2]/LastName
37      | Individual_Name_2_LastName@xnlNameType   | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[2]/LastName @xnlNameType
38      | Individual_Name_2_GenerationIdentifier   | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[2]/GenerationIdentifier
39      | Individual_Name_2_Suffix                 | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[2]/Suffix
40      | Individual_Name_2_GeneralSuffix          | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[2]/GeneralSuffix
41      | Individual_Name_2@nameType               | if given: contain OECD202 OECD203 OECD204 OECD205 OECD206 OECD207 OECD208 | ControllingPerson/Individual/Name[2] @nameType
42      | Individual_Name_3_PrecedingTitle         | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[3]/PrecedingTitle
43      | Individual_Name_3_Title                  | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[3]/Title
44      | Individual_Name_3_FirstName              | exist if any of c42, c43, c45-c55 given; if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[3]/FirstName
45      | Individual_Name_3_FirstName@xnlNameType  | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[3]/FirstName @xnlNameType
46      | Individual_Name_3_MiddleName             | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[3]/MiddleName
47      | Individual_Name_3_MiddleName@xnlNameType | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[3]/MiddleName @xnlNameType
48      | Individual_Name_3_NamePrefix             | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[3]/NamePrefix
49      | Individual_Name_3_NamePrefix@xnlNameType | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[3]/NamePrefix @xnlNameType
50      | Individual_Name_3_LastName               | exist if any of c42-c49, c51-c55 given; if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[3]/LastName
51      | Individual_Name_3_LastName@xnlNameType   | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[3]/LastName @xnlNameType
52      | Individual_Name_3_GenerationIdentifier   | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[3]/GenerationIdentifier
53      | Individual_Name_3_Suffix                 | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[3]/Suffix
54      | Individual_Name_3_GeneralSuffix          | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[3]/GeneralSuffix
55      | Individual_Name_3@nameType               | if given: contain OECD202 OECD203 OECD204 OECD205 OECD206 OECD207 OECD208 | ControllingPerson/Individual/Name[3] @nameType
56      | Individual_Name_4_PrecedingTitle         | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[4]/PrecedingTitle
57      | Individual_Name_4_Title                  | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[4]/Title
58      | Individual_Name_4_FirstName              | exist if any of c56, c57, c59-c69 given; if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[4]/FirstName
59      | Individual_Name_4_FirstName@xnlNameType  | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[4]/FirstName @xnlNameType
60      | Individual_Name_4_MiddleName             | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[4]/MiddleName
61      | Individual_Name_4_MiddleName@xnlNameType | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[4]/MiddleName @xnlNameType
62      | Individual_Name_4_NamePrefix             | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[4]/NamePrefix
63      | Individual_Name_4_NamePrefix@xnlNameType | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[4]/NamePrefix @xnlNameType
64      | Individual_Name_4_LastName               | exist if any of c56-c63, c65-c69 given; if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[4]/LastName
65      | Individual_Name_4_LastName@xnlNameType   | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[4]/LastName @xnlNameType
66      | Individual_Name_4_GenerationIdentifier   | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[4]/GenerationIdentifier
67      | Individual_Name_4_Suffix                 | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[4]/Suffix
68      | Individual_Name_4_GeneralSuffix          | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[4]/GeneralSuffix
69      | Individual_Name_4@nameType               | if given: contain OECD202 OECD203 OECD204 OECD205 OECD206 OECD207 OECD208 | ControllingPerson/Individual/Name[4] @nameType
70      | Individual_Name_5_PrecedingTitle         | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[5]/PrecedingTitle
71      | Individual_Name_5_Title                  | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[5]/Title
72      | Individual_Name_5_FirstName              | exist if any of c70, c71, c73-c83 given; if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[5]/FirstName
73      | Individual_Name_5_FirstName@xnlNameType  | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[5]/FirstName @xnlNameType
74      | Individual_Name_5_MiddleName             | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[5]/MiddleName
75      | Individual_Name_5_MiddleName@xnlNameType | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[5]/MiddleName @xnlNameType
76      | Individual_Name_5_NamePrefix             | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[5]/NamePrefix
77      | Individual_Name_5_NamePrefix@xnlNameType | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[5]/NamePrefix @xnlNameType
78      | Individual_Name_5_LastName               | exist if any of c70-c77, c79-c83 given; if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[5]/LastName
79      | Individual_Name_5_LastName@xnlNameType   | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[5]/LastName @xnlNameType
80      | Individual_Name_5_GenerationIdentifier   | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[5]/GenerationIdentifier
81      | Individual_Name_5_Suffix                 | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[5]/Suffix
82      | Individual_Name_5_GeneralSuffix          | if given: length max 50, charSet latinString | ControllingPerson/Individual/Name[5]/GeneralSuffix
83      | Individual_Name_5@nameType               | if given: contain OECD202 OECD203 OECD204 OECD205 OECD206 OECD207 OECD208 | ControllingPerson/Individual/Name[5] @nameType
84      | Individual_Address_1_CountryCode         | exist; codeCheck country | ControllingPerson/Individual/Address[1]/cfc:CountryCode
85      | Individual_Address_1_AddressFree         | exist; length max 300; charSet latinString | ControllingPerson/Individual/Address[1]/cfc:AddressFree
86      | Individual_Address_1@legalAddressType    | if given: contain OECD301 OECD302 OECD303 OECD304 OECD305 | ControllingPerson/Individual/Address[1] @legalAddressType
87      | Individual_Address_2_CountryCode         | exist if any of c88, c89 given; if given: codeCheck country | ControllingPerson/Individual/Address[2]/cfc:CountryCode
88      | Individual_Address_2_AddressFree         | exist if any of c87, c89 given; if given: length max 300, charSet latinString | ControllingPerson/Individual/Address[2]/cfc:AddressFree
89      | Individual_Address_2@legalAddressType    | if given: contain OECD301 OECD302 OECD303 OECD304 OECD305 | ControllingPerson/Individual/Address[2] @legalAddressType
90      | Individual_Address_3_CountryCode         | exist if any of c91, c92 given; if given: codeCheck country | ControllingPerson/Individual/Address[3]/cfc:CountryCode
91      | Individual_Address_3_AddressFree         | exist if any of c90, c92 given; if given: length max 300, charSet latinString | ControllingPerson/Individual/Address[3]/cfc:AddressFree
92      | Individual_Address_3@legalAddressType    | if given: contain OECD301 OECD302 OECD303 OECD304 OECD305 | ControllingPerson/Individual/Address[3] @legalAddressType
93      | Individual_Address_4_CountryCode         | exist if any of c94, c95 given; if given: codeCheck country | ControllingPerson/Individual/Address[4]/cfc:CountryCode
94      | Individual_Address_4_AddressFree         | exist if any of c93, c95 given; if given: length max 300, charSet latinString | ControllingPerson/Individual/Address[4]/cfc:AddressFree
95      | Individual_Address_4@legalAddressType    | if given: contain OECD301 OECD302 OECD303 OECD304 OECD305 | ControllingPerson/Individual/Address[4] @legalAddressType
96      | Individual_Address_5_CountryCode         | exist if any of c97, c98 given; if given: codeCheck country | ControllingPerson/Individual/Address[5]/cfc:CountryCode
97      | Individual_Address_5_AddressFree         | exist if any of c96, c98 given; if given: length max 300, charSet latinString | ControllingPerson/Individual/Address[5]/cfc:AddressFree
98      | Individual_Address_5@legalAddressType    | if given: contain OECD301 OECD302 OECD303 OECD304 OECD305 | ControllingPerson/Individual/Address[5] @legalAddressType
99      | Individual_BirthDate                     | if given: format date, dateRange after 1899-12-31 | ControllingPerson/Individual/BirthInfo/BirthDate
100     | CtrlgPersonType                          | exist; contain CRS801 CRS802 CRS803 CRS804 CRS805 CRS806 CRS807 CRS808 CRS809 CRS810 CRS811 CRS812 CRS813 | ControllingPerson/CtrlgPersonType
101-150 | EmptyColumn101..150                      | notExist | -
--- kind 4
2     | DocRefId             | exist; length max 58; charSet latinString; format DocRefId_AC | -
3     | Type                 | exist; contain CRS501 CRS502 CRS503 CRS504 | Payment/Type
4     | PaymentAmnt          | exist; length max 16; charSet fugoNumber; format decimal | Payment/PaymentAmnt
5     | PaymentAmnt@currCode | exist; codeCheck currency | Payment/PaymentAmnt @currCode
6-150 | EmptyColumn6..150    | notExist | -
"""


# ---------------------------------------------------------------------------------------------
# Rule notation -> rules

@dataclass
class Outer:
    id: str
    column: int
    value: str = ""


@dataclass
class Rule:
    id: str
    value: str = ""
    min: str = ""
    max: str = ""
    message: str = ""
    outer: Optional[Outer] = None


@dataclass
class Item:
    id: str
    column: int
    rules: List[Rule]
    output: str = "-"

    def looks_only_at_own_column(self) -> bool:
        return all(r.outer is None or r.outer.column == self.column for r in self.rules)


@dataclass
class ValidationReport:
    id: str
    column_num: int
    items: List[Item]


@dataclass
class ValidationDocument:
    vr: str
    reports: List[ValidationReport]

    def report(self, kind: int) -> ValidationReport:
        return self.reports[kind - 1]


VALUE_RULES = ("charSet", "contain", "format", "codeCheck", "integrity")
SIMPLE_RULES = ("exist", "notExist")


def parse_rule(text: str) -> Rule:
    text = text.strip()
    message = ""
    m = re.fullmatch(r"(.*?)\s*\(message (HE\d{5}E)\)", text)
    if m:
        text, message = m.group(1), m.group(2)
    words = text.split()
    name, args = words[0], words[1:]
    if name in SIMPLE_RULES and not args:
        return Rule(name, message=message)
    if name == "length":
        if len(args) == 1 and ".." in args[0]:
            lo, hi = args[0].split("..")
            return Rule(name, min=str(int(lo)), max=str(int(hi)), message=message)
        if len(args) == 1:
            return Rule(name, value=str(int(args[0])), message=message)
        if len(args) == 2 and args[0] == "max":
            return Rule(name, max=str(int(args[1])), message=message)
    if name == "dateRange" and len(args) == 2 and args[0] == "after":
        return Rule(name, min=args[1], message=message)
    if name in VALUE_RULES and args:
        return Rule(name, value=" ".join(args), message=message)
    raise ValueError(f"unreadable rule: {text!r}")


def parse_columns(text: str) -> List[int]:
    columns = []
    for part in text.split(","):
        m = re.fullmatch(r"c(\d+)(?:-c(\d+))?", part.strip())
        if not m:
            raise ValueError(f"unreadable column list: {text!r}")
        first = int(m.group(1))
        last = int(m.group(2) or first)
        if last < first:
            raise ValueError(f"descending column range: {text!r}")
        columns.extend(range(first, last + 1))
    return columns


def parse_rules(notation: str, own_column: int) -> List[Rule]:
    rules: List[Rule] = []
    for clause in (c.strip() for c in notation.split(";")):
        m = re.fullmatch(r"exist if (any of )?(.+) given", clause)
        if m:
            listed = parse_columns(m.group(2))
            if (m.group(1) is None) != (len(listed) == 1):
                raise ValueError(f"'any of' must go with a list: {clause!r}")
            rules.extend(Rule("exist", outer=Outer("exist", c)) for c in listed)
            continue
        m = re.fullmatch(r"if (?:(given)|c(\d+) given|c(\d+) in ([^:]+)): (.+)", clause)
        if m:
            if m.group(1):
                outer = Outer("exist", own_column)
            elif m.group(2):
                outer = Outer("exist", int(m.group(2)))
            else:
                outer = Outer("contain", int(m.group(3)), " ".join(m.group(4).split()))
            for text in m.group(5).split(","):
                rule = parse_rule(text)
                rule.outer = copy.copy(outer)
                rules.append(rule)
            continue
        rules.append(parse_rule(clause))
    return rules


def parse_layout(text: str) -> Dict[int, List[Item]]:
    """Reads the column layout into items per record kind, in column order."""
    kinds: Dict[int, List[Item]] = {}
    current: Optional[List[Item]] = None
    for line in text.strip().splitlines():
        m = re.fullmatch(r"--- kind (\d)", line.strip())
        if m:
            current = kinds.setdefault(int(m.group(1)), [])
            continue
        column, item_id, notation, output = (cell.strip() for cell in line.split("|"))
        m = re.fullmatch(r"(\d+)-(\d+)", column)
        if m:
            # Columns past a kind's own ones may exist and must then be empty.
            first, last = int(m.group(1)), int(m.group(2))
            if item_id != f"EmptyColumn{first}..{last}" or output != "-":
                raise ValueError(f"unexpected range row: {line!r}")
            for c in range(first, last + 1):
                current.append(Item(f"EmptyColumn{c}", c, parse_rules(notation, c)))
            continue
        c = int(column)
        current.append(Item(item_id, c, parse_rules(notation, c), output))
    return kinds


def document_order(items: List[Item]) -> List[Item]:
    """Own-column items, then the empty columns, then the items that look at other columns;
    each group in column order."""
    def by_column(group):
        return sorted(group, key=lambda i: i.column)
    empty = [i for i in items if i.id.startswith("EmptyColumn")]
    rest = [i for i in items if not i.id.startswith("EmptyColumn")]
    return (by_column([i for i in rest if i.looks_only_at_own_column()]) + by_column(empty)
            + by_column([i for i in rest if not i.looks_only_at_own_column()]))


def build_validation_1() -> Tuple[ValidationDocument, Dict[int, List[Item]]]:
    layout = parse_layout(COLUMN_LAYOUT)
    reports = []
    for kind, report_id, own in RECORD_KINDS:
        items = layout[kind]
        columns = [i.column for i in items]
        if columns != list(range(2, LAST_COLUMN + 1)):
            raise ValueError(f"kind {kind}: columns are not exactly 2..{LAST_COLUMN}")
        if max(i.column for i in items if not i.id.startswith("EmptyColumn")) != own:
            raise ValueError(f"kind {kind}: own columns do not end at {own}")
        reports.append(ValidationReport(report_id, own, document_order(items)))
    return ValidationDocument("1.0", reports), layout


# ---------------------------------------------------------------------------------------------
# Schema 2.0 validation document: the schema 1.0 document with exactly six changes.

def _span(first: int, last: int) -> List[int]:
    return list(range(first, last + 1))


def _name_parts(first_groups: List[int]) -> List[int]:
    # The 13 name-part columns of each of five name groups (the 14th column is nameType).
    return [c for g in first_groups for c in _span(g, g + 12)]


CODE_LISTS_2 = {"country": "country2", "countries": "countries2", "currency": "currency2"}
CODE_LIST_COUNTS = {"country": 35, "countries": 3, "currency": 2}

# (old max, new max, {kind: columns})
LENGTH_CHANGES_2 = [
    (400, 4000, {1: [3, 4]}),
    (300, 4000, {1: [33, 35, 37, 39, 41],
                 2: [92, 95, 98, 101, 104, 134, 137, 140, 143, 146],
                 3: [85, 88, 91, 94, 97]}),
    (100, 200, {2: [11, 13, 15, 17, 19, 108, 111, 114, 117, 120],
                3: [4, 6, 8, 10, 12]}),
    (50, 200, {2: _name_parts([21, 35, 49, 63, 77]),
               3: _name_parts([14, 28, 42, 56, 70])}),
]

ACCOUNT_NUMBER_2 = ("if c6 in OECD601: length 5..34 (message HE40030E), format AccountNumber_A; "
                    "if c6 in OECD603: length 12 (message HE40030E), format AccountNumber_B")


def _item(doc: ValidationDocument, kind: int, column: int, item_id: Optional[str] = None) -> Item:
    found = [i for i in doc.report(kind).items
             if i.column == column and (item_id is None or i.id == item_id)]
    if len(found) != 1:
        raise ValueError(f"kind {kind} column {column}: expected one item, found {len(found)}")
    return found[0]


def _only(rules: List[Rule], what: str) -> Rule:
    if len(rules) != 1:
        raise ValueError(f"{what}: expected one rule, found {len(rules)}")
    return rules[0]


def derive_validation_2(doc1: ValidationDocument) -> ValidationDocument:
    doc = copy.deepcopy(doc1)

    # 1. Version of the document.
    doc.vr = "2.0"

    # 2. Every code list check uses the second list.
    seen = {name: 0 for name in CODE_LISTS_2}
    for report in doc.reports:
        for item in report.items:
            for rule in item.rules:
                if rule.id == "codeCheck":
                    seen[rule.value] += 1
                    rule.value = CODE_LISTS_2[rule.value]
    if seen != CODE_LIST_COUNTS:
        raise ValueError(f"codeCheck rules per list: {seen}, expected {CODE_LIST_COUNTS}")

    # 3. Longer maxima.
    for old, new, columns in LENGTH_CHANGES_2:
        for kind, cols in columns.items():
            for c in cols:
                item = _item(doc, kind, c)
                rule = _only([r for r in item.rules if r.id == "length" and r.max == str(old)],
                             f"kind {kind} column {c} length max {old}")
                rule.max = str(new)
    for report in doc.reports:   # every column of each category is covered by the lists above
        for item in report.items:
            for rule in item.rules:
                if rule.id == "length" and rule.max in ("400", "300", "50"):
                    raise ValueError(f"{report.id} {item.id}: length max {rule.max} left over")

    # 4. Version 2.0, reported with its own message.
    version = _item(doc, 1, 2, "Version")
    rule = _only([r for r in version.rules if r.id == "contain"], "Version contain")
    if rule.value != "1.0":
        raise ValueError("Version: contain 1.0 expected")
    rule.value, rule.message = "2.0", "HE40028E"

    # 5. The message type becomes required.
    indic = _item(doc, 1, 6, "MessageTypeIndic")
    if [r.id for r in indic.rules] != ["contain"]:
        raise ValueError("MessageTypeIndic: one contain rule expected")
    indic.rules.insert(0, Rule("exist"))

    # 6. The account number must fit its number type (IBAN, ISIN).
    items = doc.report(2).items
    at = items.index(_item(doc, 2, 4, "CorrDocRefId"))
    items.insert(at + 1, Item("AccountNumber", 5, parse_rules(ACCOUNT_NUMBER_2, 5)))
    return doc


# ---------------------------------------------------------------------------------------------
# Conversion documents

@dataclass
class ConvItem:
    id: str
    parent: str
    type: str = "Normal"
    column: Optional[int] = None
    value: Optional[str] = None
    attrs: List[Tuple[str, int]] = field(default_factory=list)
    required_child: Optional[str] = None
    name_space: Optional[str] = None
    millisec: bool = False


@dataclass
class ConvReport:
    id: str
    column_num: int
    kind: int
    dummy: bool = False
    items: List[ConvItem] = field(default_factory=list)

    def add(self, item_id: str, parent: str, column: Optional[int] = None, **kw) -> None:
        self.items.append(ConvItem(item_id, parent, column=column, **kw))


ADDRESS_FREE = "<cfc:AddressFree>"


def add_address(r: ConvReport, parent: str, country: Optional[int], free: int, legal: int) -> None:
    # An Address is written only with its AddressFree; CountryCode precedes it (cfc:Address_Type).
    r.add("Address", parent, attrs=[("legalAddressType", legal)], required_child=ADDRESS_FREE)
    if country is None:
        r.add("CountryCode", "Address", value="JP", name_space="cfc")
    else:
        r.add("CountryCode", "Address", country, name_space="cfc")
    r.add("AddressFree", "Address", free, name_space="cfc")


def add_doc_spec(r: ConvReport, parent: str, first: int) -> None:
    r.add("DocSpec", parent)
    for offset, name in enumerate(("DocTypeIndic", "DocRefId", "CorrDocRefId")):
        r.add(name, "DocSpec", first + offset, name_space="stf")


def add_individual(r: ConvReport, parent: str, first: int) -> None:
    """A person (crs:PersonParty_Type) laid out from `first`, its residence country column:
    10 for the account holder, 3 for a controlling person."""
    r.add("Individual", parent, required_child="<crs:ResCountryCode")
    r.add("ResCountryCode", "Individual", first, type="Split")
    for k in range(5):
        tin = first + 1 + 2 * k
        r.add("TIN", "Individual", tin, attrs=[("issuedBy", tin + 1)])
    for k in range(5):
        n = first + 11 + 14 * k
        r.add("Name", "Individual", attrs=[("nameType", n + 13)], required_child="<crs:FirstName")
        r.add("PrecedingTitle", "Name", n)
        r.add("Title", "Name", n + 1)
        r.add("FirstName", "Name", n + 2, attrs=[("xnlNameType", n + 3)])
        r.add("MiddleName", "Name", n + 4, attrs=[("xnlNameType", n + 5)])
        r.add("NamePrefix", "Name", n + 6, attrs=[("xnlNameType", n + 7)])
        r.add("LastName", "Name", n + 8, attrs=[("xnlNameType", n + 9)])
        r.add("GenerationIdentifier", "Name", n + 10)
        r.add("Suffix", "Name", n + 11)
        r.add("GeneralSuffix", "Name", n + 12)
    for k in range(5):
        a = first + 81 + 3 * k
        add_address(r, "Individual", a, a + 1, a + 2)
    r.add("BirthInfo", "Individual", required_child="<crs:BirthDate")
    r.add("BirthDate", "BirthInfo", first + 96)


def build_conversion(vr: str) -> List[ConvReport]:
    message_spec = ConvReport("MessageSpec", 45, kind=1)
    P = message_spec.id
    message_spec.add("TransmittingCountry", P, value="JP")
    message_spec.add("ReceivingCountry", P, value="JP")
    message_spec.add("MessageType", P, value="CRS")
    message_spec.add("Warning", P, 3)
    message_spec.add("Contact", P, 4)
    message_spec.add("MessageRefId", P, 5)
    message_spec.add("MessageTypeIndic", P, 6)
    message_spec.add("ReportingPeriod", P, 7)
    message_spec.add("Timestamp", P, type="Timestamp", millisec=(vr == "2.0"))

    fi = ConvReport("ReportingFI", 45, kind=1)
    P = fi.id
    fi.add("ResCountryCode", P, value="JP")
    for c in (8, 11, 14, 17, 20):
        fi.add("IN", P, c, attrs=[("issuedBy", c + 1), ("INType", c + 2)])
    for c in (23, 25, 27, 29, 31):
        fi.add("Name", P, c, attrs=[("nameType", c + 1)])
    for c in (33, 35, 37, 39, 41):
        add_address(fi, P, None, c, c + 1)
    add_doc_spec(fi, P, 43)

    acct = ConvReport("AccountReport", 150, kind=2, dummy=True)
    P = acct.id
    add_doc_spec(acct, P, 2)
    acct.add("AccountNumber", P, 5, attrs=[("AcctNumberType", 6), ("UndocumentedAccount", 7),
                                           ("ClosedAccount", 8), ("DormantAccount", 9)])
    acct.add("AccountHolder", P)
    add_individual(acct, "AccountHolder", 10)
    acct.add("Organisation", "AccountHolder", required_child=ADDRESS_FREE)
    acct.add("ResCountryCode", "Organisation", 107, type="Split")
    for c in (108, 111, 114, 117, 120):
        acct.add("IN", "Organisation", c, attrs=[("issuedBy", c + 1), ("INType", c + 2)])
    for c in (123, 125, 127, 129, 131):
        acct.add("Name", "Organisation", c, attrs=[("nameType", c + 1)])
    for c in (133, 136, 139, 142, 145):
        add_address(acct, "Organisation", c, c + 1, c + 2)
    acct.add("AcctHolderType", "AccountHolder", 148)

    person = ConvReport("ControllingPerson", 100, kind=3)
    add_individual(person, person.id, 3)
    person.add("CtrlgPersonType", person.id, 100)

    balance = ConvReport("AccountBalance", 150, kind=2, dummy=True)
    balance.add("AccountBalance", balance.id, 149, attrs=[("currCode", 150)])

    payment = ConvReport("Payment", 5, kind=4)
    payment.add("Type", payment.id, 3)
    payment.add("PaymentAmnt", payment.id, 4, attrs=[("currCode", 5)])
    return [message_spec, fi, acct, person, balance, payment]


# Root of the conversion documents: the version attribute comes from column 2 of kind 1.
ROOT_NODE = "CRS_OECD"
ROOT_ATTR = ("Version", "MessageSpecReportingFI", 2)


class _Node:
    def __init__(self, item_id: str, item: Optional[ConvItem] = None):
        self.id = item_id
        self.item = item
        self.children: List["_Node"] = []

    def locate(self, node: "_Node") -> bool:
        # The engine's placement: the most recently added node with the parent's id,
        # searched depth-first from the newest subtree, the node itself first.
        if node.item.parent == self.id:
            self.children.append(node)
            return True
        return any(child.locate(node) for child in reversed(self.children))


def place(report: ConvReport) -> _Node:
    root = _Node(report.id)
    for item in report.items:
        if not root.locate(_Node(item.id, item)):
            raise ValueError(f"{report.id}: no parent {item.parent!r} for {item.id!r}")
    return root


def output_bindings(reports: List[ConvReport]) -> Dict[int, Dict[int, str]]:
    """Column -> output path per record kind, read off the placed trees."""
    bound: Dict[int, Dict[int, str]] = {kind: {} for kind, _, _ in RECORD_KINDS}

    def bind(kind: int, column: int, path: str) -> None:
        if column in bound[kind]:
            raise ValueError(f"kind {kind} column {column} bound twice")
        bound[kind][column] = path

    def walk(kind: int, node: _Node, path: str) -> None:
        names = [c.id for c in node.children]
        seen: Dict[str, int] = {}
        for child in node.children:
            seen[child.id] = seen.get(child.id, 0) + 1
            item = child.item
            name = f"{item.name_space}:{item.id}" if item.name_space else item.id
            if names.count(child.id) > 1:
                name += f"[{seen[child.id]}]"
            child_path = f"{path}/{name}"
            if item.column is not None:
                bind(kind, item.column, child_path + (" (split)" if item.type == "Split" else ""))
            for attr, column in item.attrs:
                bind(kind, column, f"{child_path} @{attr}")
            walk(kind, child, child_path)

    bind(1, ROOT_ATTR[2], f"{ROOT_NODE} @{ROOT_ATTR[0].lower()}")
    for report in reports:
        walk(report.kind, place(report), report.id)
    return bound


def check_output_bindings(layout: Dict[int, List[Item]], reports: List[ConvReport]) -> None:
    bound = output_bindings(reports)
    for kind, _, _ in RECORD_KINDS:
        expected = {i.column: i.output for i in layout[kind] if i.output != "-"}
        if bound[kind] != expected:
            diff = sorted(set(bound[kind].items()) ^ set(expected.items()))
            raise ValueError(f"kind {kind}: conversion tree and column layout disagree: {diff}")


# ---------------------------------------------------------------------------------------------
# Writing

DECLARATION = '<?xml version="1.0" encoding="Shift_JIS" standalone="no" ?>'


def _attr(name: str, value) -> str:
    text = str(value).replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
    return f' {name}="{text.replace(chr(34), "&quot;")}"'


def _rule_attrs(rule: Rule) -> str:
    text = _attr("id", rule.id)
    for name, value in (("value", rule.value), ("min", rule.min), ("max", rule.max),
                        ("messageId", rule.message)):
        if value:
            text += _attr(name, value)
    return text


def render_validation(doc: ValidationDocument) -> List[str]:
    lines = [DECLARATION, f"<CRSValidateDefine{_attr('VR', doc.vr)}>"]
    for report in doc.reports:
        lines.append(f"\t<report{_attr('id', report.id)}{_attr('columnNum', report.column_num)}>")
        for item in report.items:
            lines.append(f"\t\t<item{_attr('id', item.id)}{_attr('column', item.column)}"
                         f"{_attr('type', 'Normal')}>")
            for rule in item.rules:
                if rule.outer is None:
                    lines.append(f"\t\t\t<valid{_rule_attrs(rule)}/>")
                    continue
                o = rule.outer
                outer = _attr("id", o.id) + (_attr("value", o.value) if o.value else "")
                lines.append(f"\t\t\t<valid{_rule_attrs(rule)}>")
                lines.append(f"\t\t\t\t<outer{outer}{_attr('column', o.column)}/>")
                lines.append("\t\t\t</valid>")
            lines.append("\t\t</item>")
        lines.append("\t</report>")
    lines.append("</CRSValidateDefine>")
    return lines


def render_conversion(vr: str, reports: List[ConvReport]) -> List[str]:
    name, record, column = ROOT_ATTR
    lines = [DECLARATION,
             f"<CRSDataConvDefine{_attr('VR', vr)}{_attr('rootNode', ROOT_NODE)}{_attr('attr1', name)}"
             f"{_attr('attrValueRec1', record)}{_attr('attrValueColumn1', column)}>"]
    for report in reports:
        head = (f"{_attr('reportId', report.id)}{_attr('reportVR', vr)}"
                f"{_attr('columnNum', report.column_num)}")
        if report.dummy:
            head += _attr("dumyFlg", "true")
        lines.append(f"\t<report{head}>")
        for item in report.items:
            text = _attr("id", item.id) + _attr("parent", item.parent) + _attr("type", item.type)
            if item.column is not None:
                text += _attr("column", item.column)
            if item.value is not None:
                text += _attr("value", item.value)
            for k, (attr, col) in enumerate(item.attrs, start=1):
                text += _attr(f"attr{k}", attr) + _attr(f"attrValueColumn{k}", col)
            if item.required_child:
                text += _attr("requiredChild", item.required_child)
            if item.name_space:
                text += _attr("nameSpace", item.name_space)
            if item.millisec:
                text += _attr("millisec", "1")
            lines.append(f"\t\t<item{text}/>")
        lines.append("\t</report>")
    lines.append("</CRSDataConvDefine>")
    return lines


# Columns the engine reads by position: (constant, kind, item id).
ENGINE_COLUMNS = [
    ("kHeaderMessageRefId", 1, "MessageRefId"),
    ("kHeaderMessageTypeIndic", 1, "MessageTypeIndic"),
    ("kHeaderReportingPeriod", 1, "ReportingPeriod"),
    ("kHeaderDocTypeIndic", 1, "DocTypeIndic"),
    ("kHeaderDocRefId", 1, "DocRefId"),
    ("kAccountDocTypeIndic", 2, "DocTypeIndic"),
    ("kAccountDocRefId", 2, "DocRefId"),
    ("kAccountCorrDocRefId", 2, "CorrDocRefId"),
    ("kAccountIndividualFirst", 2, "Individual_ResCountryCode"),
    ("kAccountIndividualName", 2, "Individual_Name_1_FirstName"),
    ("kAccountIndividualLastName", 2, "Individual_Name_1_LastName"),
    ("kAccountIndividualCountryCode", 2, "Individual_Address_1_CountryCode"),
    ("kAccountIndividualAddressFree", 2, "Individual_Address_1_AddressFree"),
    ("kAccountBirthDate", 2, "Individual_BirthDate"),
    ("kAccountOrganisationFirst", 2, "Organisation_ResCountryCode"),
    ("kAccountOrganisationName", 2, "Organisation_Name_1_Name"),
    ("kAccountOrganisationCountryCode", 2, "Organisation_Address_1_CountryCode"),
    ("kAccountOrganisationAddressFree", 2, "Organisation_Address_1_AddressFree"),
    ("kAccountAcctHolderType", 2, "Organisation_AcctHolderType"),
    ("kPersonAccountDocRefId", 3, "DocRefId"),
    ("kPersonBirthDate", 3, "Individual_BirthDate"),
    ("kPaymentAccountDocRefId", 4, "DocRefId"),
]


def render_columns(layout: Dict[int, List[Item]]) -> bytes:
    by_id = {(kind, item.id): item.column for kind, items in layout.items() for item in items}
    # The holder rule reads the individual columns up to the organisation's first one.
    individual = [i.column for i in layout[2] if i.id.startswith("Individual_")]
    organisation = [i.column for i in layout[2] if i.id.startswith("Organisation_")]
    assert max(individual) + 1 == min(organisation), "holder columns must be two adjacent spans"
    lines = [
        "// Generated by scripts/gen_definitions.py from its column layout; do not edit.",
        "#pragma once",
        "",
        "namespace quorvex::internal {",
        "",
        "// Columns (1-based; column 1 holds the record kind) that the engine reads by",
        "// position. The 0-based index into a stored record is the number minus one.",
        "namespace CRSColumn {",
        "constexpr long kKind = 1;",
    ]
    for name, kind, item_id in ENGINE_COLUMNS:
        lines.append(f"constexpr long {name} = {by_id[(kind, item_id)]};  // kind {kind}: {item_id}")
    lines.append(f"constexpr long kAccountIndividualLast = {max(individual)};")
    lines.append(f"constexpr long kAccountOrganisationLast = {max(organisation)};")
    lines.append("}  // namespace CRSColumn")
    lines.append("}  // namespace quorvex::internal")
    return ("\n".join(lines) + "\n").encode("ascii")


def encode(lines: List[str]) -> bytes:
    data = ("\r\n".join(lines) + "\r\n").encode("shift_jis")
    assert b"\0" not in data
    return data


def build_all() -> Dict[str, bytes]:
    doc1, layout = build_validation_1()
    doc2 = derive_validation_2(doc1)
    conv1, conv2 = build_conversion("1.0"), build_conversion("2.0")
    check_output_bindings(layout, conv1)
    check_output_bindings(layout, conv2)
    return {
        "../engine/csv/CRSColumns.h": render_columns(layout),
        "CRSValidateDefine.xml": encode(render_validation(doc1)),
        "CRSDataConvDefine.xml": encode(render_conversion("1.0", conv1)),
        "CRSValidateDefine_2.0.xml": encode(render_validation(doc2)),
        "CRSDataConvDefine_2.0.xml": encode(render_conversion("2.0", conv2)),
    }


def summary(doc: ValidationDocument) -> str:
    parts = []
    for report in doc.reports:
        rules = sum(len(i.rules) for i in report.items)
        parts.append(f"{report.id} {len(report.items)} items {rules} rules")
    total = sum(len(i.rules) for r in doc.reports for i in r.items)
    return f"VR {doc.vr}: " + ", ".join(parts) + f"; {total} rules"


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true",
                        help="compare with the committed documents instead of writing them")
    parser.add_argument("--out", type=Path,
                        default=Path(__file__).resolve().parent.parent / "definitions")
    args = parser.parse_args()
    documents = build_all()
    stale = []
    for name, data in documents.items():
        path = args.out / name
        if args.check:
            if not path.exists() or path.read_bytes() != data:
                stale.append(name)
        else:
            path.parent.mkdir(parents=True, exist_ok=True)
            path.write_bytes(data)
    doc1, _ = build_validation_1()
    print(summary(doc1))
    print(summary(derive_validation_2(doc1)))
    if stale:
        print("stale: " + ", ".join(stale) + " (run python3 scripts/gen_definitions.py)",
              file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
