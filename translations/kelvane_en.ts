<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>Catalogue</name>
    <message>
        <source>波特率</source>
        <translation>Baud rate</translation>
    </message>
    <message>
        <source>读取串口通信波特率错误！</source>
        <translation>Error reading the serial baud rate!</translation>
    </message>
    <message>
        <source>数据流控制</source>
        <translation>Flow control</translation>
    </message>
    <message>
        <source>读取串口通信数据流控制错误！</source>
        <translation>Error reading the serial flow control!</translation>
    </message>
    <message>
        <source>无</source>
        <translation>None</translation>
    </message>
    <message>
        <source>数据位</source>
        <translation>Data bits</translation>
    </message>
    <message>
        <source>读取串口通信数据位长度错误！</source>
        <translation>Error reading the serial data bits!</translation>
    </message>
    <message>
        <source>时间分割</source>
        <translation>Time gap</translation>
    </message>
    <message>
        <source>奇偶校验位</source>
        <translation>Parity</translation>
    </message>
    <message>
        <source>读取串口通信数据校验方式错误！</source>
        <translation>Error reading the serial parity!</translation>
    </message>
    <message>
        <source>无校验</source>
        <translation>None</translation>
    </message>
    <message>
        <source>奇校验</source>
        <translation>Odd</translation>
    </message>
    <message>
        <source>偶校验</source>
        <translation>Even</translation>
    </message>
    <message>
        <source>字节分割</source>
        <translation>Byte gap</translation>
    </message>
    <message>
        <source>停止位</source>
        <translation>Stop bits</translation>
    </message>
    <message>
        <source>读取串口通信数据停止位错误！</source>
        <translation>Error reading the serial stop bits!</translation>
    </message>
    <message>
        <source>显示模式</source>
        <translation>Display</translation>
    </message>
    <message>
        <source>显示模式读取错误！</source>
        <translation>Error reading the display mode!</translation>
    </message>
    <message>
        <source>不显示</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>正常显示</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>兼容模式</source>
        <translation>Compatible</translation>
    </message>
    <message>
        <source>网关IP地址</source>
        <translation>Gateway</translation>
    </message>
    <message>
        <source>子网掩码</source>
        <translation>Subnet mask</translation>
    </message>
    <message>
        <source>本机IP地址</source>
        <translation>IP address</translation>
    </message>
    <message>
        <source>本机端口号</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>目的IP地址</source>
        <translation>Target IP</translation>
    </message>
    <message>
        <source>目的端口号</source>
        <translation>Target port</translation>
    </message>
    <message>
        <source>端口模式</source>
        <translation>Socket mode</translation>
    </message>
    <message>
        <source>读取端口工作模式错误！</source>
        <translation>Error reading the socket mode!</translation>
    </message>
    <message>
        <source>TCP服务器</source>
        <translation>TCP server</translation>
    </message>
    <message>
        <source>TCP客户端</source>
        <translation>TCP client</translation>
    </message>
    <message>
        <source>UDP模式0</source>
        <translation>UDP mode 0</translation>
    </message>
    <message>
        <source>UDP模式1</source>
        <translation>UDP mode 1</translation>
    </message>
    <message>
        <source>UDP模式2</source>
        <translation>UDP mode 2</translation>
    </message>
    <message>
        <source>UDP组播</source>
        <translation>UDP multicast</translation>
    </message>
    <message>
        <source>以太网模式</source>
        <translation>Ethernet</translation>
    </message>
    <message>
        <source>以太网工作模式读取错误！</source>
        <translation>Error reading the Ethernet mode!</translation>
    </message>
    <message>
        <source>自动握手</source>
        <translation>Auto-negotiate</translation>
    </message>
    <message>
        <source>100M全双工自动握手</source>
        <translation>100M full duplex, auto</translation>
    </message>
    <message>
        <source>100M全双工手动握手</source>
        <translation>100M full duplex</translation>
    </message>
    <message>
        <source>100M半双工手动握手</source>
        <translation>100M half duplex</translation>
    </message>
    <message>
        <source>10M全双工手动握手</source>
        <translation>10M full duplex</translation>
    </message>
    <message>
        <source>10M半双工手动握手</source>
        <translation>10M half duplex</translation>
    </message>
    <message>
        <source>运行设置</source>
        <translation>Start mode</translation>
    </message>
</context>
<context>
    <name>Defaults</name>
    <message>
        <source>恢复设备%1默认参数。</source>
        <translation>Restoring the defaults of module %1.</translation>
    </message>
    <message>
        <source>恢复设备%1默认参数不成功，请重新操作！</source>
        <translation>Restoring the defaults of module %1 failed; please try again!</translation>
    </message>
    <message>
        <source>恢复设备%1默认参数成功，请重新读取该设备参数！</source>
        <translation>Module %1 restored its defaults; please read its parameters again!</translation>
    </message>
</context>
<context>
    <name>LinkErrorText</name>
    <message>
        <source>端口已被其他程序占用</source>
        <translation>the port is in use by another program</translation>
    </message>
    <message>
        <source>没有使用该端口或发送广播的权限</source>
        <translation>no permission to use the port or to broadcast</translation>
    </message>
    <message>
        <source>网络不可用，请检查网线和网络设置</source>
        <translation>the network is unavailable; check the cable and network settings</translation>
    </message>
    <message>
        <source>系统网络资源不足</source>
        <translation>the system is short of network resources</translation>
    </message>
    <message>
        <source>数据包过大</source>
        <translation>the datagram is too large</translation>
    </message>
    <message>
        <source>本机没有可用的网络地址</source>
        <translation>this computer has no usable network address</translation>
    </message>
    <message>
        <source>网络错误</source>
        <translation>network error</translation>
    </message>
</context>
<context>
    <name>Machine</name>
    <message>
        <source>发送数据失败：%1</source>
        <translation>Sending failed: %1</translation>
    </message>
    <message>
        <source>没有选择设备！</source>
        <translation>No module selected!</translation>
    </message>
</context>
<context>
    <name>MainForm</name>
    <message>
        <source>Kelvane网络配置工具</source>
        <translation>Kelvane Network Configuration</translation>
    </message>
    <message>
        <source>扫描设备</source>
        <translation>Scan</translation>
    </message>
    <message>
        <source>默认值</source>
        <translation>Defaults</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>运行当前选择的模块</source>
        <translation>Restart the selected module</translation>
    </message>
    <message>
        <source>运行</source>
        <translation>Restart</translation>
    </message>
    <message>
        <source>退  出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>串行通道参数</source>
        <translation>Serial port</translation>
    </message>
    <message>
        <source>选择异步通信的波特率</source>
        <translation>Baud rate of the serial port</translation>
    </message>
    <message>
        <source>选择异步通信数据流的控制方式</source>
        <translation>Flow control of the serial port</translation>
    </message>
    <message>
        <source>选择异步通信数据位长度，然后按“设置”键确认。一般使用8个位的字节数据</source>
        <translation>Data bits of the serial port; confirm with Write. Usually 8</translation>
    </message>
    <message>
        <source>选择异步通信数据的校验方式</source>
        <translation>Parity of the serial port</translation>
    </message>
    <message>
        <source>选择异步通信数据的停止位的位数</source>
        <translation>Stop bits of the serial port</translation>
    </message>
    <message>
        <source>不显示、兼容模式和正常显示模式</source>
        <translation>Off, compatible or normal display</translation>
    </message>
    <message>
        <source>设置时间分割参数</source>
        <translation>Gap in time that ends a packet</translation>
    </message>
    <message>
        <source>设置字节分割参数</source>
        <translation>Byte that ends a packet</translation>
    </message>
    <message>
        <source>波特率</source>
        <translation>Baud rate</translation>
    </message>
    <message>
        <source>数据位</source>
        <translation>Data bits</translation>
    </message>
    <message>
        <source>奇偶校验位</source>
        <translation>Parity</translation>
    </message>
    <message>
        <source>停止位</source>
        <translation>Stop bits</translation>
    </message>
    <message>
        <source>数据流控制</source>
        <translation>Flow control</translation>
    </message>
    <message>
        <source>时间分割</source>
        <translation>Time gap</translation>
    </message>
    <message>
        <source>字节分割</source>
        <translation>Byte gap</translation>
    </message>
    <message>
        <source>显示模式</source>
        <translation>Display</translation>
    </message>
    <message>
        <source>网络通道参数</source>
        <translation>Network</translation>
    </message>
    <message>
        <source>选择端口的工作模式</source>
        <translation>How the module talks on the network</translation>
    </message>
    <message>
        <source>选择以太网的工作模式</source>
        <translation>Speed and duplex of the Ethernet port</translation>
    </message>
    <message>
        <source>设置模块所在子网的网关IP地址</source>
        <translation>Gateway of the module&apos;s subnet</translation>
    </message>
    <message>
        <source>设置模块所在子网的子网掩码值</source>
        <translation>Subnet mask of the module&apos;s subnet</translation>
    </message>
    <message>
        <source>设置模块的IP地址</source>
        <translation>IP address of the module</translation>
    </message>
    <message>
        <source>设置工作端口的端口号</source>
        <translation>Port the module works on</translation>
    </message>
    <message>
        <source>设置目的IP地址</source>
        <translation>IP address the module sends to</translation>
    </message>
    <message>
        <source>设置目的端口号</source>
        <translation>Port the module sends to</translation>
    </message>
    <message>
        <source>网关IP地址</source>
        <translation>Gateway</translation>
    </message>
    <message>
        <source>子网掩码</source>
        <translation>Netmask</translation>
    </message>
    <message>
        <source>本机IP地址</source>
        <translation>IP address</translation>
    </message>
    <message>
        <source>本机端口号</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>目的IP地址</source>
        <translation>Target IP</translation>
    </message>
    <message>
        <source>目的端口号</source>
        <translation>Target port</translation>
    </message>
    <message>
        <source>端口模式</source>
        <translation>Socket</translation>
    </message>
    <message>
        <source>以太网模式</source>
        <translation>Ethernet</translation>
    </message>
    <message>
        <source>运行设置</source>
        <translation>Start mode</translation>
    </message>
    <message>
        <source>设置网络用户的用户名</source>
        <translation>User name for the network</translation>
    </message>
    <message>
        <source>设置网络用户的密码</source>
        <translation>Password for the network</translation>
    </message>
    <message>
        <source>直接启动运行</source>
        <translation>Direct</translation>
    </message>
    <message>
        <source>启动PPPoE建立网络连接</source>
        <translation>Connect with PPPoE first</translation>
    </message>
    <message>
        <source>启动DHCP获取网络参数</source>
        <translation>Get addresses by DHCP</translation>
    </message>
    <message>
        <source>用户名</source>
        <translation>User</translation>
    </message>
    <message>
        <source>密码</source>
        <translation>Pass</translation>
    </message>
    <message>
        <source>提示信息</source>
        <translation>Messages</translation>
    </message>
    <message>
        <source>12</source>
        <translation>12</translation>
    </message>
    <message>
        <source>Version: 3.0</source>
        <translation>Version: 3.0</translation>
    </message>
    <message>
        <source>Website: www.kelvane.example</source>
        <translation>Website: www.kelvane.example</translation>
    </message>
</context>
<context>
    <name>NetworkCards</name>
    <message>
        <source>no network card is called &quot;%1&quot; (cards: %2)</source>
        <translation>no network card is called &quot;%1&quot; (cards: %2)</translation>
    </message>
    <message>
        <source>network card &quot;%1&quot; cannot broadcast</source>
        <translation>network card &quot;%1&quot; cannot broadcast</translation>
    </message>
    <message>
        <source>Find and reach modules through this network card only. Give it again for more cards. Default: every card that is up.</source>
        <translation>Find and reach modules through this network card only. Give it again for more cards. Default: every card that is up.</translation>
    </message>
    <message>
        <source>没有可以广播的网卡</source>
        <translation>No network card can broadcast</translation>
    </message>
</context>
<context>
    <name>Read</name>
    <message>
        <source>读取设备%1参数... ...</source>
        <translation>Reading the parameters of module %1 ...</translation>
    </message>
    <message>
        <source>读取设备%1参数不成功！</source>
        <translation>Reading the parameters of module %1 failed!</translation>
    </message>
    <message>
        <source>请检查计算机与设备之间的网络连接，重新操作！</source>
        <translation>Check the network between this computer and the module, then try again!</translation>
    </message>
    <message>
        <source>读取设备%1参数成功！</source>
        <translation>Read the parameters of module %1.</translation>
    </message>
</context>
<context>
    <name>Reset</name>
    <message>
        <source>对设备%1的复位运行成功。</source>
        <translation>Module %1 restarted.</translation>
    </message>
</context>
<context>
    <name>Scan</name>
    <message>
        <source>无法打开本地UDP端口%1：%2</source>
        <translation>Cannot open local UDP port %1: %2</translation>
    </message>
    <message>
        <source>请关闭占用该端口的程序，然后重新扫描设备。</source>
        <translation>Close the program using this port, then scan again.</translation>
    </message>
    <message>
        <source>计算机正在扫描网络中的设备... ...</source>
        <translation>Scanning the network for modules ...</translation>
    </message>
    <message>
        <source>本计算机与设备的IP地址可以不是在同一个网段，但必须是在由交换机或路由器支持的同一个局域网内，不能被路由器隔离。</source>
        <translation>The modules may be in another subnet than this computer, but must be on the same LAN, behind switches only, not across a router.</translation>
    </message>
    <message>
        <source>未检查到网络中的设备！</source>
        <translation>No module found on the network!</translation>
    </message>
    <message>
        <source>设备与该计算机必须是在同一个交换机或路由器所支持的局域网内，不能经过路由器隔离。</source>
        <translation>Modules must be on the same LAN as this computer, behind switches only, not across a router.</translation>
    </message>
    <message>
        <source>检测到%1个设备。</source>
        <translation>Found %1 module(s).</translation>
    </message>
    <message>
        <source>设备 ( %1 )</source>
        <translation>Module ( %1 )</translation>
    </message>
</context>
<context>
    <name>Startup</name>
    <message>
        <source>本机IP地址：%1    端口号：%2</source>
        <translation>Local IP: %1    Port: %2</translation>
    </message>
    <message>
        <source>在使用本工具扫描设备之前，请确保所有的设备都在同一个物理局域网内，没有经过路由器隔离。</source>
        <translation>Before scanning, make sure every module is on the same physical LAN as this computer, not across a router.</translation>
    </message>
    <message>
        <source>请先扫描网络中的设备，然后读取指定设备的参数，并可对每一个设备的参数进行修改。</source>
        <translation>Scan for modules first, then read the parameters of one and change them as needed.</translation>
    </message>
    <message>
        <source>扫描设备的过程可能需要几秒钟的时间。</source>
        <translation>A scan may take a few seconds.</translation>
    </message>
</context>
<context>
    <name>UdpLink</name>
    <message>
        <source>本地UDP端口未打开</source>
        <translation>The local UDP port is not open</translation>
    </message>
    <message>
        <source>没有可以广播的网卡：请接上网线或连接网络</source>
        <translation>No network card can broadcast: plug in a cable or connect to a network</translation>
    </message>
    <message>
        <source>指定的网卡（%1）都没有连接</source>
        <translation>None of the given network cards (%1) is connected</translation>
    </message>
</context>
<context>
    <name>Write</name>
    <message>
        <source>设置设备%1的参数... ...</source>
        <translation>Writing the parameters of module %1 ...</translation>
    </message>
    <message>
        <source>设置设备%1参数不成功！</source>
        <translation>Writing the parameters of module %1 failed!</translation>
    </message>
    <message>
        <source>设置设备%1数据成功！</source>
        <translation>Wrote the parameters of module %1.</translation>
    </message>
    <message>
        <source>%1参数无效，请从列表中选择！</source>
        <translation>%1 is not valid: choose from the list!</translation>
    </message>
    <message>
        <source>%1参数无效，只能输入单字节字符！</source>
        <translation>%1 is not valid: single-byte characters only!</translation>
    </message>
    <message>
        <source>%1参数无效，请选择一种启动方式！</source>
        <translation>%1 is not valid: choose a start mode!</translation>
    </message>
    <message>
        <source>%1参数无效，请输入以“.”分隔的四组数字，每组0到255！</source>
        <translation>%1 is not valid: four groups of digits separated by dots, each from 0 to 255!</translation>
    </message>
    <message>
        <source>%1参数无效，请输入0到65535的数字！</source>
        <translation>%1 is not valid: a number from 0 to 65535 only!</translation>
    </message>
    <message>
        <source>%1参数无效，请输入1到4位数字！</source>
        <translation>%1 is not valid: 1 to 4 digits only!</translation>
    </message>
</context>
<context>
    <name>kelvane::ApplyDialog</name>
    <message>
        <source>应用配置</source>
        <translation>Apply profile</translation>
    </message>
    <message>
        <source>把配置文件 %1 写入所选的 %2 个模块。</source>
        <translation>Write the profile %1 to the %2 selected modules.</translation>
    </message>
    <message>
        <source>留空：各模块保留自己的地址</source>
        <translation>Empty: each module keeps its address</translation>
    </message>
    <message>
        <source>第一个模块的IP地址，其余模块依次加一</source>
        <translation>The first module&apos;s IP address; each further module gets the next one</translation>
    </message>
    <message>
        <source>第一个模块的IP地址(&amp;I)：</source>
        <translation>First module &amp;IP address:</translation>
    </message>
    <message>
        <source>同时处理的模块数(&amp;N)：</source>
        <translation>Modules at o&amp;nce:</translation>
    </message>
    <message>
        <source>写入后回读校验(&amp;V)</source>
        <translation>&amp;Verify: read back after writing</translation>
    </message>
    <message>
        <source>校验后重启模块(&amp;R)</source>
        <translation>&amp;Restart each module after writing</translation>
    </message>
    <message>
        <source>开始</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>kelvane::Fleet</name>
    <message>
        <source>%1: &quot;%2&quot; is not an address A.B.C.D with parts from 0 to 255</source>
        <translation>%1: &quot;%2&quot; is not an address A.B.C.D with parts from 0 to 255</translation>
    </message>
    <message>
        <source>%1: %2 modules from %3; the count must be at least 1</source>
        <translation>%1: %2 modules from %3; the count must be at least 1</translation>
    </message>
    <message>
        <source>%1: %2 is not a host address to hand out</source>
        <translation>%1: %2 is not a host address to hand out</translation>
    </message>
    <message>
        <source>%1: %2 modules from %3 run past .254</source>
        <translation>%1: %2 modules from %3 run past .254</translation>
    </message>
</context>
<context>
    <name>kelvane::MainForm</name>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>确认退出配置系统！</source>
        <translation>Exit the configuration tool?</translation>
    </message>
    <message>
        <source>模块一览…</source>
        <translation>Modules…</translation>
    </message>
</context>
<context>
    <name>kelvane::ModulesModel</name>
    <message>
        <source>等待</source>
        <translation>waiting</translation>
    </message>
    <message>
        <source>正在读取</source>
        <translation>reading</translation>
    </message>
    <message>
        <source>正在写入</source>
        <translation>writing</translation>
    </message>
    <message>
        <source>正在校验</source>
        <translation>verifying</translation>
    </message>
    <message>
        <source>正在重启</source>
        <translation>restarting</translation>
    </message>
    <message>
        <source>已读取</source>
        <translation>read</translation>
    </message>
    <message>
        <source>已写入</source>
        <translation>written</translation>
    </message>
    <message>
        <source>已写入并校验</source>
        <translation>written and verified</translation>
    </message>
    <message>
        <source>已写入、校验并重启</source>
        <translation>written, verified and restarted</translation>
    </message>
    <message>
        <source>未找到</source>
        <translation>not found</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>failed</translation>
    </message>
    <message>
        <source>回读不一致</source>
        <translation>read back differently</translation>
    </message>
    <message>
        <source>未开始</source>
        <translation>not started</translation>
    </message>
    <message>
        <source>IP地址重复</source>
        <translation>duplicate IP address</translation>
    </message>
    <message>
        <source>不在网卡子网内</source>
        <translation>outside the card&apos;s subnet</translation>
    </message>
    <message>
        <source>，</source>
        <translation>, </translation>
    </message>
    <message>
        <source>：</source>
        <translation>: </translation>
    </message>
    <message>
        <source>序号</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>模块地址</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>应答来自</source>
        <translation>Answered from</translation>
    </message>
    <message>
        <source>网卡</source>
        <translation>Card</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warnings</translation>
    </message>
    <message>
        <source>IP地址</source>
        <translation>IP address</translation>
    </message>
    <message>
        <source>波特率</source>
        <translation>Baud rate</translation>
    </message>
    <message>
        <source>端口模式</source>
        <translation>Socket mode</translation>
    </message>
    <message>
        <source>结果</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>无需更改</source>
        <translation>Unchanged</translation>
    </message>
</context>
<context>
    <name>kelvane::ModulesWindow</name>
    <message>
        <source>模块一览 - Kelvane</source>
        <translation>Modules - Kelvane</translation>
    </message>
    <message>
        <source>应用配置…</source>
        <translation>Apply profile…</translation>
    </message>
    <message>
        <source>读取所选模块</source>
        <translation>Read selected modules</translation>
    </message>
    <message>
        <source>导出CSV…</source>
        <translation>Export CSV…</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>全选</source>
        <translation>Select all</translation>
    </message>
    <message>
        <source>任一列中的文字</source>
        <translation>Text in any column</translation>
    </message>
    <message>
        <source>筛选(&amp;F)：</source>
        <translation>&amp;Filter:</translation>
    </message>
    <message>
        <source>IP地址重复，不在网卡子网内</source>
        <translation>duplicate IP address, outside the card&apos;s subnet</translation>
    </message>
    <message>
        <source>%v / %m</source>
        <translation>%v / %m</translation>
    </message>
    <message>
        <source>应用配置(&amp;A)…</source>
        <translation>&amp;Apply profile…</translation>
    </message>
    <message>
        <source>读取(&amp;D)</source>
        <translation>Rea&amp;d</translation>
    </message>
    <message>
        <source>导出(&amp;X)…</source>
        <translation>E&amp;xport…</translation>
    </message>
    <message>
        <source>停止(&amp;S)</source>
        <translation>&amp;Stop</translation>
    </message>
    <message>
        <source>应用配置</source>
        <translation>Apply profile</translation>
    </message>
    <message>
        <source>主窗口的操作还没有结束，请稍后再试。</source>
        <translation>The main window&apos;s operation has not ended yet; try again in a moment.</translation>
    </message>
    <message>
        <source>没有向任何模块发送数据：</source>
        <translation>Nothing was sent to any module:</translation>
    </message>
    <message>
        <source>仍要写入这些地址吗？</source>
        <translation>Write these addresses anyway?</translation>
    </message>
    <message>
        <source>没有写入：地址的警告没有被接受。</source>
        <translation>Nothing written: the warnings about the addresses were not accepted.</translation>
    </message>
    <message>
        <source>正在处理 %1 个模块…</source>
        <translation>Working on %1 modules…</translation>
    </message>
    <message>
        <source>正在停止：已开始的模块完成后结束…</source>
        <translation>Stopping: the modules already started are finished first…</translation>
    </message>
    <message>
        <source>%1 个成功，%2 个失败，%3 个未开始</source>
        <translation>%1 succeeded, %2 failed, %3 not started</translation>
    </message>
    <message>
        <source>导出CSV</source>
        <translation>Export CSV</translation>
    </message>
    <message>
        <source>CSV文件没有保存：%1：%2</source>
        <translation>The CSV file was not saved: %1: %2</translation>
    </message>
    <message>
        <source>CSV文件 (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <source>所有文件 (*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <source>参数文件 (*.json)</source>
        <translation>Parameter files (*.json)</translation>
    </message>
</context>
<context>
    <name>kelvane::ParameterValue</name>
    <message>
        <source>%1, or an index from 0 to %2</source>
        <translation>%1, or an index from 0 to %2</translation>
    </message>
    <message>
        <source>%1: index %2 is out of range; allowed: %3</source>
        <translation>%1: index %2 is out of range; allowed: %3</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not an item; allowed: %3</source>
        <translation>%1: &quot;%2&quot; is not an item; allowed: %3</translation>
    </message>
    <message>
        <source>%1: character U+%2 at position %3 has no single-byte code; allowed: characters up to U+00FF</source>
        <translation>%1: character U+%2 at position %3 has no single-byte code; allowed: characters up to U+00FF</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not a start mode; allowed: %3</source>
        <translation>%1: &quot;%2&quot; is not a start mode; allowed: %3</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not NAME=VALUE</source>
        <translation>&quot;%1&quot; is not NAME=VALUE</translation>
    </message>
    <message>
        <source>unknown parameter &quot;%1&quot;; known: %2</source>
        <translation>unknown parameter &quot;%1&quot;; known: %2</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not an address; allowed: four groups of 1 to 3 digits separated by dots, each from 0 to 255</source>
        <translation>%1: &quot;%2&quot; is not an address; allowed: four groups of 1 to 3 digits separated by dots, each from 0 to 255</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not a port; allowed: 1 to 5 digits, from 0 to 65535</source>
        <translation>%1: &quot;%2&quot; is not a port; allowed: 1 to 5 digits, from 0 to 65535</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not a delimiter; allowed: 1 to 4 digits</source>
        <translation>%1: &quot;%2&quot; is not a delimiter; allowed: 1 to 4 digits</translation>
    </message>
</context>
<context>
    <name>kelvane::ParameterValues</name>
    <message>
        <source>null</source>
        <translation>null</translation>
    </message>
    <message>
        <source>a boolean</source>
        <translation>a boolean</translation>
    </message>
    <message>
        <source>a number</source>
        <translation>a number</translation>
    </message>
    <message>
        <source>a text</source>
        <translation>a text</translation>
    </message>
    <message>
        <source>a list</source>
        <translation>a list</translation>
    </message>
    <message>
        <source>an object</source>
        <translation>an object</translation>
    </message>
    <message>
        <source>nothing</source>
        <translation>nothing</translation>
    </message>
    <message>
        <source>unknown parameter &quot;%1&quot;; known: %2</source>
        <translation>unknown parameter &quot;%1&quot;; known: %2</translation>
    </message>
    <message>
        <source>%1: expected a text, found %2</source>
        <translation>%1: expected a text, found %2</translation>
    </message>
</context>
<context>
    <name>kelvane::Presenter</name>
    <message>
        <source>设置</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>参数没有发送，设备的参数都没有改变：</source>
        <translation>The parameters were not sent; nothing on the module changed:</translation>
    </message>
    <message>
        <source>这些参数可能使设备无法正常工作：</source>
        <translation>These parameters may keep the module from working:</translation>
    </message>
    <message>
        <source>仍然发送这些参数吗？</source>
        <translation>Send these parameters all the same?</translation>
    </message>
    <message>
        <source>应答地址：%1</source>
        <translation>Answered from: %1</translation>
    </message>
    <message>
        <source>网卡：%1（%2）</source>
        <translation>Card: %1 (%2)</translation>
    </message>
    <message>
        <source>警告：%1</source>
        <translation>Warning: %1</translation>
    </message>
</context>
<context>
    <name>kelvane::Profile</name>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>missing</source>
        <translation>missing</translation>
    </message>
    <message>
        <source>%1: given more than once</source>
        <translation>%1: given more than once</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is given more than once</source>
        <translation>&quot;%1&quot; is given more than once</translation>
    </message>
    <message>
        <source>unknown field &quot;%1&quot;; a profile holds only %2</source>
        <translation>unknown field &quot;%1&quot;; a profile holds only %2</translation>
    </message>
    <message>
        <source>format is %1, expected &quot;%2&quot;</source>
        <translation>format is %1, expected &quot;%2&quot;</translation>
    </message>
    <message>
        <source>version is %1; this program reads version %2</source>
        <translation>version is %1; this program reads version %2</translation>
    </message>
    <message>
        <source>parameters is %1, expected an object</source>
        <translation>parameters is %1, expected an object</translation>
    </message>
    <message>
        <source>larger than %1 bytes, not a profile</source>
        <translation>larger than %1 bytes, not a profile</translation>
    </message>
    <message>
        <source>not JSON: %1 at byte %2</source>
        <translation>not JSON: %1 at byte %2</translation>
    </message>
    <message>
        <source>not a profile: expected a JSON object</source>
        <translation>not a profile: expected a JSON object</translation>
    </message>
    <message>
        <source>cannot be read: %1</source>
        <translation>cannot be read: %1</translation>
    </message>
    <message>
        <source>cannot be written: %1</source>
        <translation>cannot be written: %1</translation>
    </message>
</context>
<context>
    <name>kelvane::ProfileActions</name>
    <message>
        <source>导出参数…</source>
        <translation>Export Parameters…</translation>
    </message>
    <message>
        <source>导入参数…</source>
        <translation>Import Parameters…</translation>
    </message>
    <message>
        <source>导出参数</source>
        <translation>Export Parameters</translation>
    </message>
    <message>
        <source>窗口中的参数不能导出：</source>
        <translation>The parameters in the window cannot be exported: </translation>
    </message>
    <message>
        <source>参数文件没有保存：</source>
        <translation>The parameter file was not saved: </translation>
    </message>
    <message>
        <source>导入参数</source>
        <translation>Import Parameters</translation>
    </message>
    <message>
        <source>参数文件没有导入，窗口中的参数都没有改变：</source>
        <translation>The parameter file was not imported; no parameter in the window has changed: </translation>
    </message>
    <message>
        <source>%1：%2：列表中没有“%3”这一项</source>
        <translation>%1: %2: the list has no item &quot;%3&quot;</translation>
    </message>
    <message>
        <source>参数文件 (*.json)</source>
        <translation>Parameter files (*.json)</translation>
    </message>
    <message>
        <source>所有文件 (*)</source>
        <translation>All files (*)</translation>
    </message>
</context>
<context>
    <name>kelvane::SettingsCheck</name>
    <message>
        <source>this network</source>
        <translation>this network</translation>
    </message>
    <message>
        <source>loopback</source>
        <translation>loopback</translation>
    </message>
    <message>
        <source>multicast</source>
        <translation>multicast</translation>
    </message>
    <message>
        <source>broadcast</source>
        <translation>broadcast</translation>
    </message>
    <message>
        <source>%1: %2 makes every address the module&apos;s neighbour; a mask sets at least its first bit, as 255.255.255.0 does</source>
        <translation>%1: %2 makes every address the module&apos;s neighbour; a mask sets at least its first bit, as 255.255.255.0 does</translation>
    </message>
    <message>
        <source>%1: %2 is not a subnet mask; its one bits must run unbroken from the left, as in 255.255.255.0</source>
        <translation>%1: %2 is not a subnet mask; its one bits must run unbroken from the left, as in 255.255.255.0</translation>
    </message>
    <message>
        <source>; whether the module starts on it depends on its start mode</source>
        <translation>; whether the module starts on it depends on its start mode</translation>
    </message>
    <message>
        <source>; in %1 start mode the module is given its address, so this matters once it starts direct</source>
        <translation>; in %1 start mode the module is given its address, so this matters once it starts direct</translation>
    </message>
    <message>
        <source>%1: %2 lies in %3, kept for %4; no module can take it as its own address</source>
        <translation>%1: %2 lies in %3, kept for %4; no module can take it as its own address</translation>
    </message>
    <message>
        <source>%1: %2 is the network address of its subnet %3, not an address a module can take</source>
        <translation>%1: %2 is the network address of its subnet %3, not an address a module can take</translation>
    </message>
    <message>
        <source>%1: %2 is the broadcast address of its subnet %3, not an address a module can take</source>
        <translation>%1: %2 is the broadcast address of its subnet %3, not an address a module can take</translation>
    </message>
    <message>
        <source>%1: %2 lies outside the module&apos;s subnet %3, so the module cannot reach it</source>
        <translation>%1: %2 lies outside the module&apos;s subnet %3, so the module cannot reach it</translation>
    </message>
    <message>
        <source>%1: %2 is the module&apos;s own ip_address; what it sends would come back to it</source>
        <translation>%1: %2 is the module&apos;s own ip_address; what it sends would come back to it</translation>
    </message>
    <message>
        <source>%1: %2 is no port a module can listen on; allowed: 1 to 65535</source>
        <translation>%1: %2 is no port a module can listen on; allowed: 1 to 65535</translation>
    </message>
    <message>
        <source>%1: %2 for module %3 is the address another module answered from</source>
        <translation>%1: %2 for module %3 is the address another module answered from</translation>
    </message>
    <message>
        <source>%1: %2 for module %3 is an address of a network card of this PC</source>
        <translation>%1: %2 for module %3 is an address of a network card of this PC</translation>
    </message>
    <message>
        <source>%1: %2 for module %3 is handed to %4 as well</source>
        <translation>%1: %2 for module %3 is handed to %4 as well</translation>
    </message>
    <message>
        <source>%1: %2 for module %3 lies outside %4, the subnet of card %5 (%6/%7) it was heard on; data connections from this PC will not reach it</source>
        <translation>%1: %2 for module %3 lies outside %4, the subnet of card %5 (%6/%7) it was heard on; data connections from this PC will not reach it</translation>
    </message>
    <message>
        <source>Module %1 answered from %2, and so did %3; of modules sharing an address, data connections reach one at most</source>
        <translation>Module %1 answered from %2, and so did %3; of modules sharing an address, data connections reach one at most</translation>
    </message>
    <message>
        <source>Module %1 answered from %2, outside the subnet of card %3 (%4/%5): it was found and can be configured by broadcast, but data connections from this PC will not reach it; giving it an address in the card&apos;s subnet fixes that</source>
        <translation>Module %1 answered from %2, outside the subnet of card %3 (%4/%5): it was found and can be configured by broadcast, but data connections from this PC will not reach it; giving it an address in the card&apos;s subnet fixes that</translation>
    </message>
</context>
<context>
    <name>kelvane::cli</name>
    <message>
        <source>&apos;%1&apos; is no module address: give its 12 hex digits, e.g. 024B56000001.</source>
        <translation>&apos;%1&apos; is no module address: give its 12 hex digits, e.g. 024B56000001.</translation>
    </message>
    <message>
        <source>Module %1 is named twice.</source>
        <translation>Module %1 is named twice.</translation>
    </message>
    <message>
        <source>%1 is given twice.</source>
        <translation>%1 is given twice.</translation>
    </message>
    <message>
        <source>Parameters (NAME=VALUE):</source>
        <translation>Parameters (NAME=VALUE):</translation>
    </message>
    <message>
        <source>(or the item&apos;s index, 0 to %1)</source>
        <translation>(or the item&apos;s index, 0 to %1)</translation>
    </message>
    <message>
        <source>text of single-byte characters</source>
        <translation>text of single-byte characters</translation>
    </message>
    <message>
        <source>Commands:</source>
        <translation>Commands:</translation>
    </message>
    <message>
        <source>Find every module (four discovery rounds) and list them.</source>
        <translation>Find every module (four discovery rounds) and list them.</translation>
    </message>
    <message>
        <source>Read the module&apos;s 17 parameters.</source>
        <translation>Read the module&apos;s 17 parameters.</translation>
    </message>
    <message>
        <source>Read the module, change the named parameters, write all 17.</source>
        <translation>Read the module, change the named parameters, write all 17.</translation>
    </message>
    <message>
        <source>Restore the module&apos;s factory settings.</source>
        <translation>Restore the module&apos;s factory settings.</translation>
    </message>
    <message>
        <source>Restart the module.</source>
        <translation>Restart the module.</translation>
    </message>
    <message>
        <source>Save the module&apos;s 17 parameters as a profile.</source>
        <translation>Save the module&apos;s 17 parameters as a profile.</translation>
    </message>
    <message>
        <source>Write the profile&apos;s parameters to each module, several at once, and list how each went.</source>
        <translation>Write the profile&apos;s parameters to each module, several at once, and list how each went.</translation>
    </message>
    <message>
        <source>Show where the module differs from the profile.</source>
        <translation>Show where the module differs from the profile.</translation>
    </message>
    <message>
        <source>Finds Kelvane serial-to-Ethernet modules on the local network and reads, writes, restores and restarts them, as the kelvane-config window does.</source>
        <translation>Finds Kelvane serial-to-Ethernet modules on the local network and reads, writes, restores and restarts them, as the kelvane-config window does.</translation>
    </message>
    <message>
        <source>Show this help, or a command&apos;s.</source>
        <translation>Show this help, or a command&apos;s.</translation>
    </message>
    <message>
        <source>Show the version.</source>
        <translation>Show the version.</translation>
    </message>
    <message>
        <source>Answer with one JSON document on standard output.</source>
        <translation>Answer with one JSON document on standard output.</translation>
    </message>
    <message>
        <source>Write every datagram sent and received to FILE.</source>
        <translation>Write every datagram sent and received to FILE.</translation>
    </message>
    <message>
        <source>Try &apos;kelvane --help&apos;.</source>
        <translation>Try &apos;kelvane --help&apos;.</translation>
    </message>
    <message>
        <source>--lang takes zh or en, not &apos;%1&apos;.</source>
        <translation>--lang takes zh or en, not &apos;%1&apos;.</translation>
    </message>
    <message>
        <source>No command given.</source>
        <translation>No command given.</translation>
    </message>
    <message>
        <source>Unknown command &apos;%1&apos;; the commands are %2.</source>
        <translation>Unknown command &apos;%1&apos;; the commands are %2.</translation>
    </message>
    <message>
        <source>Cannot write the trace to %1: %2</source>
        <translation>Cannot write the trace to %1: %2</translation>
    </message>
    <message>
        <source>Module %1 gave answers that could not be read for: %2.</source>
        <translation>Module %1 gave answers that could not be read for: %2.</translation>
    </message>
    <message>
        <source>Nothing changed; all 17 parameters were written.</source>
        <translation>Nothing changed; all 17 parameters were written.</translation>
    </message>
    <message>
        <source>Every module the scan finds, in list order.</source>
        <translation>Every module the scan finds, in list order.</translation>
    </message>
    <message>
        <source>Give the modules consecutive IP addresses from this one.</source>
        <translation>Give the modules consecutive IP addresses from this one.</translation>
    </message>
    <message>
        <source>Read each module back and compare.</source>
        <translation>Read each module back and compare.</translation>
    </message>
    <message>
        <source>Restart each module after its write was read back as written.</source>
        <translation>Restart each module after its write was read back as written.</translation>
    </message>
    <message>
        <source>Work on up to N modules at once (default 8).</source>
        <translation>Work on up to N modules at once (default 8).</translation>
    </message>
    <message>
        <source>Saved the 17 parameters of %1 to %2.</source>
        <translation>Saved the 17 parameters of %1 to %2.</translation>
    </message>
    <message>
        <source>The module holds every value of the profile.</source>
        <translation>The module holds every value of the profile.</translation>
    </message>
    <message>
        <source>--parallel takes a number from 1 to %1.</source>
        <translation>--parallel takes a number from 1 to %1.</translation>
    </message>
    <message>
        <source>No module was found on the network.</source>
        <translation>No module was found on the network.</translation>
    </message>
    <message>
        <source>MODULE</source>
        <translation>MODULE</translation>
    </message>
    <message>
        <source>IP ADDRESS</source>
        <translation>IP ADDRESS</translation>
    </message>
    <message>
        <source>RESULT</source>
        <translation>RESULT</translation>
    </message>
    <message>
        <source>DETAIL</source>
        <translation>DETAIL</translation>
    </message>
    <message>
        <source>Module %1 was not found on the network.</source>
        <translation>Module %1 was not found on the network.</translation>
    </message>
    <message>
        <source>Send each query and write up to N times before giving up (default 5).</source>
        <translation>Send each query and write up to N times before giving up (default 5).</translation>
    </message>
    <message>
        <source>Wait MS milliseconds for each answer (default 400).</source>
        <translation>Wait MS milliseconds for each answer (default 400).</translation>
    </message>
    <message>
        <source>--attempts takes a number from 1 to %1.</source>
        <translation>--attempts takes a number from 1 to %1.</translation>
    </message>
    <message>
        <source>--timeout takes milliseconds from 1 to %1.</source>
        <translation>--timeout takes milliseconds from 1 to %1.</translation>
    </message>
    <message>
        <source>Stop looking as soon as N modules have answered; exit 1 if fewer did.</source>
        <translation>Stop looking as soon as N modules have answered; exit 1 if fewer did.</translation>
    </message>
    <message>
        <source>--expect takes a number from 1 to %1.</source>
        <translation>--expect takes a number from 1 to %1.</translation>
    </message>
    <message>
        <source>Only %1 of the %2 modules expected answered.</source>
        <translation>Only %1 of the %2 modules expected answered.</translation>
    </message>
    <message>
        <source>Print the completion script for SHELL (bash).</source>
        <translation>Print the completion script for SHELL (bash).</translation>
    </message>
    <message>
        <source>--completion takes bash, not &apos;%1&apos;.</source>
        <translation>--completion takes bash, not &apos;%1&apos;.</translation>
    </message>
    <message>
        <source>Write even what the settings checks refuse (they still tell of it).</source>
        <translation>Write even what the settings checks refuse (they still tell of it).</translation>
    </message>
    <message>
        <source>Nothing found: every rule is met.</source>
        <translation>Nothing found: every rule is met.</translation>
    </message>
    <message>
        <source>Check a profile, or the module&apos;s current settings, against the settings rules.</source>
        <translation>Check a profile, or the module&apos;s current settings, against the settings rules.</translation>
    </message>
    <message>
        <source>scan, read, write, defaults, reset, save, apply, diff or check</source>
        <translation>scan, read, write, defaults, reset, save, apply, diff or check</translation>
    </message>
    <message>
        <source>POS</source>
        <translation>POS</translation>
    </message>
    <message>
        <source>CARD</source>
        <translation>CARD</translation>
    </message>
    <message>
        <source>CARD ADDRESS</source>
        <translation>CARD ADDRESS</translation>
    </message>
    <message>
        <source>ANSWERED FROM</source>
        <translation>ANSWERED FROM</translation>
    </message>
    <message>
        <source>WARNINGS</source>
        <translation>WARNINGS</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>warning</translation>
    </message>
    <message>
        <source>Module %1 was not written: %2.</source>
        <translation>Module %1 was not written: %2.</translation>
    </message>
    <message>
        <source>List the modules as CSV, with the columns the window&apos;s table exports.</source>
        <translation>List the modules as CSV, with the columns the window&apos;s table exports.</translation>
    </message>
    <message>
        <source>--csv and --json cannot be given together.</source>
        <translation>--csv and --json cannot be given together.</translation>
    </message>
    <message>
        <source>Write every module, also one that holds the profile already.</source>
        <translation>Write every module, also one that holds the profile already.</translation>
    </message>
    <message>
        <source>Read and compare only: say which modules would change, write none.</source>
        <translation>Read and compare only: say which modules would change, write none.</translation>
    </message>
    <message>
        <source>--check and --always exclude each other.</source>
        <translation>--check and --always exclude each other.</translation>
    </message>
    <message>
        <source>Module %1 was read back otherwise than written: %2.</source>
        <translation>Module %1 was read back otherwise than written: %2.</translation>
    </message>
    <message>
        <source>MODULE is a module&apos;s address as the list shows it: 12 hex digits, e.g. 024B56000001.
A command that names modules stops looking once they have all answered: one discovery
request, and more 400 ms apart only while one is missing, four at most.
Exit status: 0 done, 1 the module did not answer, refused or the operation failed,
2 bad command line or value (nothing was sent).
Run &apos;kelvane COMMAND --help&apos; for a command&apos;s own help.
</source>
        <translation>MODULE is a module&apos;s address as the list shows it: 12 hex digits, e.g. 024B56000001.
A command that names modules stops looking once they have all answered: one discovery
request, and more 400 ms apart only while one is missing, four at most.
Exit status: 0 done, 1 the module did not answer, refused or the operation failed,
2 bad command line or value (nothing was sent).
Run &apos;kelvane COMMAND --help&apos; for a command&apos;s own help.
</translation>
    </message>
    <message>
        <source>Refuse to replace a file that exists.</source>
        <translation>Refuse to replace a file that exists.</translation>
    </message>
    <message>
        <source>%1 exists already; nothing was read or written.</source>
        <translation>%1 exists already; nothing was read or written.</translation>
    </message>
    <message>
        <source>Saved the 17 parameters of %1 to %2, replacing what it held.</source>
        <translation>Saved the 17 parameters of %1 to %2, replacing what it held.</translation>
    </message>
    <message>
        <source>kelvane: %1 modules found</source>
        <translation>kelvane: %1 modules found</translation>
    </message>
    <message>
        <source>kelvane: stopping: no module is started from now on; those being written are finished (Ctrl+C again ends at once)</source>
        <translation>kelvane: stopping: no module is started from now on; those being written are finished (Ctrl+C again ends at once)</translation>
    </message>
    <message>
        <source>stopped by Ctrl+C before its turn</source>
        <translation>stopped by Ctrl+C before its turn</translation>
    </message>
</context>
<context>
    <name>kelvane::cli::CheckReport</name>
    <message>
        <source>written all the same (--force)</source>
        <translation>written all the same (--force)</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>warning</translation>
    </message>
    <message>
        <source>Refused, nothing was written: %1. With --force it is written all the same.</source>
        <translation>Refused, nothing was written: %1. With --force it is written all the same.</translation>
    </message>
</context>
</TS>
