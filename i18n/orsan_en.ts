<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>AlarmSettings</name>
    <message>
        <source>%1=%2 无效：%3</source>
        <translation>%1=%2 refused: %3</translation>
    </message>
    <message>
        <source>须为不小于0的数</source>
        <translation>must be a number of 0 or more</translation>
    </message>
    <message>
        <source>须为大于0的数</source>
        <translation>must be a number above 0</translation>
    </message>
    <message>
        <source>须为三个以逗号分隔的数 A/B,B/C,C/D，已按机器类别分区</source>
        <translation>must be three numbers A/B,B/C,C/D separated by commas; zones of the machine class used</translation>
    </message>
    <message>
        <source>分区边界须大于0且严格递增，已按机器类别分区</source>
        <translation>zone boundaries must be above 0 and rising; zones of the machine class used</translation>
    </message>
    <message>
        <source>%1 无效：停机值 %2 mm/s 须大于报警值 %3 mm/s，已按分区边界报警 %4 mm/s、停机 %5 mm/s</source>
        <translation>%1 refused: trip %2 mm/s must be above alarm %3 mm/s; zone boundaries used: alarm %4 mm/s, trip %5 mm/s</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>须为 1R、1F、2R 或 2F，已按 2R 处理</source>
        <translation>must be 1R, 1F, 2R or 2F; 2R used</translation>
    </message>
    <message>
        <source>延时最长86400秒（一天）</source>
        <translation>the delay is at most 86400 s (one day)</translation>
    </message>
    <message>
        <source>Alarm.ini [%1] 无效：节名须为 ID1 至 ID6，该节未读取</source>
        <translation>Alarm.ini [%1] refused: sections are ID1 to ID6; this section was not read</translation>
    </message>
    <message>
        <source>Alarm.ini [%1] 重复：同名的节只应有一个，各键以最先出现的为准</source>
        <translation>Alarm.ini [%1] repeated: a section may appear once; each key is taken from its first appearance</translation>
    </message>
</context>
<context>
    <name>AlarmStore</name>
    <message>
        <source>打开</source>
        <translation>open</translation>
    </message>
    <message>
        <source>读取报警表</source>
        <translation>read the alarm table</translation>
    </message>
    <message>
        <source>创建报警表</source>
        <translation>create the alarm table</translation>
    </message>
    <message>
        <source>创建报警表索引</source>
        <translation>create the alarm table index</translation>
    </message>
    <message>
        <source>报警表 alarm 的列不符（现有列: %1）</source>
        <translation>The columns of the alarm table do not match (found: %1)</translation>
    </message>
    <message>
        <source>升级报警表</source>
        <translation>upgrade the alarm table</translation>
    </message>
    <message>
        <source>创建确认记录表</source>
        <translation>create the acknowledgement table</translation>
    </message>
    <message>
        <source>报警记录%1失败（%2）：%3</source>
        <translation>Alarm record: could not %1 (%2): %3</translation>
    </message>
    <message>
        <source>报警记录无法保存：数据库未打开</source>
        <translation>Alarms cannot be saved: the database is not open</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>save</translation>
    </message>
    <message>
        <source>报警记录无法读取：数据库未打开</source>
        <translation>Alarms cannot be read: the database is not open</translation>
    </message>
    <message>
        <source>读取</source>
        <translation>read</translation>
    </message>
    <message>
        <source>报警记录无法确认：数据库未打开</source>
        <translation>Alarms cannot be acknowledged: the database is not open</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>acknowledge</translation>
    </message>
</context>
<context>
    <name>DataFolder</name>
    <message>
        <source>无法创建数据文件夹 %1</source>
        <translation>Cannot create the data folder %1</translation>
    </message>
    <message>
        <source>找不到可用的数据文件夹</source>
        <translation>No usable data folder found</translation>
    </message>
</context>
<context>
    <name>DesktopShell</name>
    <message>
        <source>已导出，但无法自动打开，文件位于:
</source>
        <translation>Exported, but the file could not be opened. It is at:
</translation>
    </message>
    <message>
        <source>没有可导出的数据。</source>
        <translation>No data to export.</translation>
    </message>
</context>
<context>
    <name>Language</name>
    <message>
        <source>Config.ini [UI] LANG=%1 无效：应为 zh_CN 或 en，本次使用中文。</source>
        <translation>Config.ini [UI] LANG=%1 refused: use zh_CN or en. Chinese is used this time.</translation>
    </message>
    <message>
        <source>无法加载英文翻译 %1，本次使用中文。</source>
        <translation>Cannot load the English translation %1. Chinese is used this time.</translation>
    </message>
</context>
<context>
    <name>OrsanSensorMonitor</name>
    <message>
        <source>数据文件夹 %1 无法写入（%2），本次只监视和报警，不记录数据。</source>
        <translation>The data folder %1 cannot be written (%2). This run monitors and alarms but records nothing.</translation>
    </message>
    <message>
        <source>程序已经在运行中,请勿重复打开!</source>
        <translation>The program is already running. Do not open it twice!</translation>
    </message>
</context>
<context>
    <name>ProcessLock</name>
    <message>
        <source>没有写入权限</source>
        <translation>no write permission</translation>
    </message>
    <message>
        <source>文件系统只读</source>
        <translation>read-only file system</translation>
    </message>
    <message>
        <source>磁盘空间不足</source>
        <translation>disk full</translation>
    </message>
    <message>
        <source>该位置已有同名文件夹</source>
        <translation>a folder of that name is in the way</translation>
    </message>
    <message>
        <source>文件夹不存在</source>
        <translation>the folder does not exist</translation>
    </message>
    <message>
        <source>系统错误%1（%2）</source>
        <translation>system error %1 (%2)</translation>
    </message>
    <message>
        <source>无法创建锁文件%1：%2</source>
        <translation>Cannot create the lock file %1: %2</translation>
    </message>
    <message>
        <source>（进程%1）</source>
        <translation> (process %1)</translation>
    </message>
    <message>
        <source>数据文件夹%1正由另一个记录程序%2使用，同一数据文件夹只能有一个记录程序!</source>
        <translation>The data folder %1 is used by another recorder%2. One data folder takes one recorder only!</translation>
    </message>
</context>
<context>
    <name>SensorDataFile</name>
    <message>
        <source>无法写入文件 %1：%2</source>
        <translation>Cannot write the file %1: %2</translation>
    </message>
</context>
<context>
    <name>SensorNames</name>
    <message>
        <source>传感器【%1】</source>
        <translation>Sensor %1</translation>
    </message>
    <message>
        <source>传感器%1</source>
        <translation>Sensor %1</translation>
    </message>
</context>
<context>
    <name>StationConfig</name>
    <message>
        <source>Config.ini [DAQ] KEEP_DAYS=%1 无效：应为 0 到 %2 的整数天数（0 为保留全部）。本次不删除任何记录。</source>
        <translation>Config.ini [DAQ] KEEP_DAYS=%1 refused: use a whole number of days from 0 to %2 (0 keeps everything). No rows are deleted this time.</translation>
    </message>
    <message>
        <source>网络版三轴振动温度智能传感器【ModbusTcp接口，端口502】 V1.8</source>
        <translation>Networked Tri-Axis Vibration and Temperature Sensors [Modbus TCP, port 502] V1.8</translation>
    </message>
</context>
<context>
    <name>ZoneLook</name>
    <message>
        <source>ALARM 报警</source>
        <translation>ALARM</translation>
    </message>
    <message>
        <source>TRIP 停机</source>
        <translation>TRIP</translation>
    </message>
    <message>
        <source>CLEAR 恢复</source>
        <translation>CLEAR</translation>
    </message>
    <message>
        <source>LOST 通讯中断</source>
        <translation>LOST</translation>
    </message>
    <message>
        <source>RESTORED 通讯恢复</source>
        <translation>RESTORED</translation>
    </message>
    <message>
        <source>%1区</source>
        <translation>%1</translation>
    </message>
</context>
<context>
    <name>orsan::AlarmLogDlg</name>
    <message>
        <source>已确认</source>
        <translation>Acknowledged</translation>
    </message>
    <message>
        <source>报警中 已确认</source>
        <translation>Active, acknowledged</translation>
    </message>
    <message>
        <source>报警中 未确认</source>
        <translation>Active, unacknowledged</translation>
    </message>
    <message>
        <source>已恢复 未确认</source>
        <translation>Returned, unacknowledged</translation>
    </message>
    <message>
        <source>确认选中</source>
        <translation>Acknowledge</translation>
    </message>
    <message>
        <source>全部确认</source>
        <translation>Ack. all</translation>
    </message>
    <message>
        <source>静音</source>
        <translation>Mute</translation>
    </message>
    <message>
        <source>报警声静音，直到下一个新报警</source>
        <translation>Silence the alarm tone until the next new alarm</translation>
    </message>
    <message>
        <source>报警设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>全部传感器的机器类别、分区与报警值</source>
        <translation>Machine class, zones and alarm limits of every sensor</translation>
    </message>
    <message>
        <source>导出CSV</source>
        <translation>Export CSV</translation>
    </message>
    <message>
        <source>导出报警记录为CSV文件</source>
        <translation>Export the alarms to a CSV file</translation>
    </message>
    <message>
        <source>确认报警时记录的确认人</source>
        <translation>Recorded as the person who acknowledges</translation>
    </message>
    <message>
        <source>确认人:</source>
        <translation>By:</translation>
    </message>
    <message>
        <source>报警记录无法保存: </source>
        <translation>Alarms cannot be saved: </translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>传感器</source>
        <translation>Sensor</translation>
    </message>
    <message>
        <source>轴</source>
        <translation>Axis</translation>
    </message>
    <message>
        <source>数值(mm/s)</source>
        <translation>Value (mm/s)</translation>
    </message>
    <message>
        <source>分区</source>
        <translation>Zone</translation>
    </message>
    <message>
        <source>类型</source>
        <translation>Kind</translation>
    </message>
    <message>
        <source>状态</source>
        <translation>State</translation>
    </message>
    <message>
        <source>确认人</source>
        <translation>Ack. by</translation>
    </message>
    <message>
        <source>确认时间</source>
        <translation>Ack. time</translation>
    </message>
</context>
<context>
    <name>orsan::AlarmSettingsDlg</name>
    <message>
        <source>1: 大型机器 300kW-50MW；2: 中型机器 15-300kW；R: 刚性支承；F: 柔性支承</source>
        <translation>1: large machine 300 kW-50 MW; 2: medium machine 15-300 kW; R: rigid support; F: flexible support</translation>
    </message>
    <message>
        <source>按类别，如 1.4,2.8,4.5</source>
        <translation>by class, e.g. 1.4,2.8,4.5</translation>
    </message>
    <message>
        <source>无</source>
        <translation>none</translation>
    </message>
    <message>
        <source>按规则</source>
        <translation>by rule</translation>
    </message>
    <message>
        <source>C/D边界</source>
        <translation>C/D</translation>
    </message>
    <message>
        <source>机器类别:</source>
        <translation>Machine class:</translation>
    </message>
    <message>
        <source>分区边界 A/B,B/C,C/D (mm/s):</source>
        <translation>Zone boundaries A/B,B/C,C/D (mm/s):</translation>
    </message>
    <message>
        <source>基线 BASELINE (mm/s):</source>
        <translation>BASELINE (mm/s):</translation>
    </message>
    <message>
        <source>报警 ALARM (mm/s):</source>
        <translation>ALARM (mm/s):</translation>
    </message>
    <message>
        <source>停机 TRIP (mm/s):</source>
        <translation>TRIP (mm/s):</translation>
    </message>
    <message>
        <source>延时 DELAY (s):</source>
        <translation>DELAY (s):</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>传感器【%1】报警设置</source>
        <translation>Sensor %1 alarm settings</translation>
    </message>
    <message>
        <source>生效: 分区 %1 / %2 / %3 mm/s，报警 %4 mm/s，停机 %5 mm/s，延时 %6 s</source>
        <translation>In effect: zones %1 / %2 / %3 mm/s, alarm %4 mm/s, trip %5 mm/s, delay %6 s</translation>
    </message>
</context>
<context>
    <name>orsan::AlarmSettingsTableDlg</name>
    <message>
        <source>机器类别</source>
        <translation>Machine class</translation>
    </message>
    <message>
        <source>分区边界 A/B,B/C,C/D (mm/s)</source>
        <translation>Zones A/B,B/C,C/D (mm/s)</translation>
    </message>
    <message>
        <source>报警 ALARM (mm/s)</source>
        <translation>ALARM (mm/s)</translation>
    </message>
    <message>
        <source>停机 TRIP (mm/s)</source>
        <translation>TRIP (mm/s)</translation>
    </message>
    <message>
        <source>延时 DELAY (s)</source>
        <translation>DELAY (s)</translation>
    </message>
    <message>
        <source>传感器【%1】</source>
        <translation>Sensor %1</translation>
    </message>
    <message>
        <source>1: 大型机器 300kW-50MW；2: 中型机器 15-300kW；R: 刚性支承；F: 柔性支承</source>
        <translation>1: large machine 300 kW-50 MW; 2: medium machine 15-300 kW; R: rigid support; F: flexible support</translation>
    </message>
    <message>
        <source>按类别</source>
        <translation>by class</translation>
    </message>
    <message>
        <source>按规则</source>
        <translation>by rule</translation>
    </message>
    <message>
        <source>C/D边界</source>
        <translation>C/D</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>空白为默认值；检查规则与 Alarm.ini 相同。</source>
        <translation>Empty means the default; checked as Alarm.ini is.</translation>
    </message>
    <message>
        <source>报警设置（全部传感器）</source>
        <translation>Alarm settings (all sensors)</translation>
    </message>
</context>
<context>
    <name>orsan::MachineTile</name>
    <message>
        <source>点击打开该传感器页面</source>
        <translation>Click to open this sensor&apos;s page</translation>
    </message>
    <message>
        <source>无报警</source>
        <translation>No alarm</translation>
    </message>
    <message>
        <source>传感器%1  %2</source>
        <translation>Sensor %1  %2</translation>
    </message>
    <message>
        <source>温度 %1 ℃</source>
        <translation>Temp. %1 ℃</translation>
    </message>
    <message>
        <source>通信正常</source>
        <translation>Online</translation>
    </message>
    <message>
        <source>暂停轮询</source>
        <translation>Polling paused</translation>
    </message>
    <message>
        <source>通信中断</source>
        <translation>No link</translation>
    </message>
</context>
<context>
    <name>orsan::MessageDlg</name>
    <message>
        <source>消息提示</source>
        <translation>Message</translation>
    </message>
</context>
<context>
    <name>orsan::OrsanSensorMonitorDlg</name>
    <message>
        <source>传感器地址设置</source>
        <translation>Sensor addresses</translation>
    </message>
    <message>
        <source>%1#传感器IP:</source>
        <translation>Sensor %1 IP:</translation>
    </message>
    <message>
        <source>机器名称</source>
        <translation>Machine name</translation>
    </message>
    <message>
        <source>%1#传感器所在机器的名称，如 P-101</source>
        <translation>Name of the machine of sensor %1, e.g. P-101</translation>
    </message>
    <message>
        <source>配置传感器参数!</source>
        <translation>Sensor parameters</translation>
    </message>
    <message>
        <source>读取传感器波形!</source>
        <translation>Read the sensor&apos;s waveform</translation>
    </message>
    <message>
        <source>注意：请确保IP1-IP6无重复项存在，如不知道IP地址请填0.0.0.0！</source>
        <translation>Note: IP1-IP6 must all differ; enter 0.0.0.0 for an unknown address!</translation>
    </message>
    <message>
        <source>语言:</source>
        <translation>Language:</translation>
    </message>
    <message>
        <source>修改</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>设置传感器地址!</source>
        <translation>Save the sensor addresses</translation>
    </message>
    <message>
        <source>采集时间间隔设置</source>
        <translation>Record interval</translation>
    </message>
    <message>
        <source>趋势记录间隔:</source>
        <translation>Record every:</translation>
    </message>
    <message>
        <source>s/次</source>
        <translation>s</translation>
    </message>
    <message>
        <source>范围:1-1800s</source>
        <translation>Range: 1-1800 s</translation>
    </message>
    <message>
        <source>调整</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>设置通信与采集参数!</source>
        <translation>Apply the record interval</translation>
    </message>
    <message>
        <source>通信状态</source>
        <translation>Communication</translation>
    </message>
    <message>
        <source>ModbusTcp轮询状态：</source>
        <translation>Modbus TCP polling:</translation>
    </message>
    <message>
        <source>总览</source>
        <translation>Overview</translation>
    </message>
    <message>
        <source>长时数据记录</source>
        <translation>Records</translation>
    </message>
    <message>
        <source>语言已切换，但无法写入配置文件%1，下次启动时将恢复原设置!</source>
        <translation>The language has changed, but the configuration file %1 cannot be written; the next start uses the previous setting!</translation>
    </message>
    <message>
        <source>正在记录数据，确定退出吗？</source>
        <translation>Data is being recorded. Quit anyway?</translation>
    </message>
    <message>
        <source>确定退出吗？</source>
        <translation>Quit?</translation>
    </message>
    <message>
        <source>还有%1条记录等待发送到服务器。</source>
        <translation>%1 rows are still waiting to be sent to the server.</translation>
    </message>
    <message>
        <source>传感器IP地址信息更新成功!</source>
        <translation>Sensor addresses saved!</translation>
    </message>
    <message>
        <source>传感器IP地址已生效，但无法写入配置文件%1，下次启动时将恢复原地址!</source>
        <translation>The sensor addresses are in effect, but the configuration file %1 cannot be written; the next start uses the previous addresses!</translation>
    </message>
    <message>
        <source>趋势记录只能设置在1-1800s内，请重新设置</source>
        <translation>The record interval must be 1-1800 s. Please enter it again.</translation>
    </message>
    <message>
        <source>修改成功，已立即生效!</source>
        <translation>Saved and in effect now!</translation>
    </message>
    <message>
        <source>记录间隔已生效，但无法写入配置文件%1，下次启动时将恢复原设置!</source>
        <translation>The record interval is in effect, but the configuration file %1 cannot be written; the next start uses the previous setting!</translation>
    </message>
</context>
<context>
    <name>orsan::OverviewPage</name>
    <message>
        <source>尚未设置传感器地址：请在上方填写传感器IP后点击“修改”。</source>
        <translation>No sensor addresses yet: enter the sensors&apos; IP addresses above and click “Save”.</translation>
    </message>
</context>
<context>
    <name>orsan::StationAlarms</name>
    <message>
        <source>%1#传感器振动烈度分区</source>
        <translation>Vibration severity zone of sensor %1</translation>
    </message>
    <message>
        <source>报警记录</source>
        <translation>Alarms</translation>
    </message>
    <message>
        <source>数据文件夹无法写入：新的报警事件只在本页列出，不保存。</source>
        <translation>The data folder cannot be written: new alarm events are listed on this page only, not saved.</translation>
    </message>
    <message>
        <source>报警事件未能保存: </source>
        <translation>Alarm events could not be saved: </translation>
    </message>
    <message>
        <source>报警设置已生效，但无法写入配置文件%1，下次启动时将恢复原设置!</source>
        <translation>The alarm settings are in effect, but the configuration file %1 cannot be written; the next start uses the previous settings!</translation>
    </message>
    <message>
        <source>报警记录导出失败：</source>
        <translation>Alarm export failed: </translation>
    </message>
</context>
<context>
    <name>orsan::YesnoMsgDlg</name>
    <message>
        <source>消息确认提示！</source>
        <translation>Please confirm</translation>
    </message>
    <message>
        <source>是</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>否</source>
        <translation>No</translation>
    </message>
</context>
</TS>
