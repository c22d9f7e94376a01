// The texts of the string table, UTF-8. Shared by the resource script and the
// portable message boxes so that both show the same words.
#pragma once

#define TEXT_CONFIRM_REMOVAL "确实要从您的计算机中删除此程序吗?"
#define TEXT_MISSING_LOG_FILE "找不到用于指定卸载日志文件名的参数."
#define TEXT_MISSING_UNINSTALLER "找不到用于指定卸载程序文件名的参数."
#define TEXT_LAUNCH_FAILED "不能用下面命令行启动卸载程序(rc=%d):%s"
#define TEXT_MISSING_PRODUCT "找不到用于指定产品的参数."
#define TEXT_MISSING_LANGUAGE "找不到用于指定产品语言的参数."
#define TEXT_USAGE "用法: twuninst.exe [/quiet|/qn] [/norestart] [/wait] [/preview] [/allusers] [/log:文件] <产品代码> <变体> <语言代码> <卸载程序路径> <卸载程序参数>. /qn 同 /quiet; /norestart 不起作用 (本程序从不重新启动计算机); /allusers 也处理计算机上每个用户的快捷方式和声音事件 (以 SYSTEM 运行时总是如此)"
#define TEXT_UNKNOWN_SWITCH "无法识别的选项: %s"
#define TEXT_LOG_FAILED "无法写入日志文件: %s"
#define TEXT_NOT_REGISTERED "找不到此产品在该语言下的安装记录, 未做任何更改: %s"
#define TEXT_REMOVAL_RUNNING "另一个卸载正在进行, 未做任何更改. 请在它结束后再试."
#define TEXT_APP_TITLE "Corvane Sayframe卸载程序"
